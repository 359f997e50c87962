#include "sim/memory_seed.h"

#include <random>
#include <span>
#include <string_view>

#include "core/calibration/catalogue.h"
#include "core/calibration/scaling.h"
#include "core/link/live_data.h"
#include "sim/live_frames.h"
#include "sim/memory_cells.h"

namespace ecu::sim {
namespace {

// Engineering values, in the units the editors show; the catalogue's
// scaling turns them into raw counts.
struct ItemDefault {
  std::string_view key;
  double value;
};

constexpr ItemDefault kScalarDefaults[] = {
    {"FUEL_B", -0.525}, {"FUEL_MX", 10.2},
    {"ACC_MINP", 1.25}, {"ACC_MAXP", 9.5},
    {"BAT_COMP", 60},   {"EGO_SECS", 180},
    {"KILL_RPM", 6500}, {"ACC_RATE", 9.2},
    {"MIN_PRES", 29.5}, {"EGO_RATE", 10},
    {"ACC_SEN", 10.2},  {"PH_2_REC", 8},
    {"TRGS_PH", 1},     {"FS_RPM", kDefaultFullScaleRpm},
    {"OPTIONS", 0},     {"TRGS_REV", 8},
    {"MAP_TYPE", 0},    {"TPS_RPM", 3000},
    {"HOT_P_PW", 4.0},  {"HOT_#P", 1},
    {"CLD_P_PW", 10.0}, {"CLD_#P", 1},
    {"TMP_THRS", 35},   {"EGO_GAIN", 0.25},
    {"EGO_A_LO", 0.75}, {"EGO_A_HI", 1.25},
    {"EGO_CUT", 0.25},  {"SUPP_SRC", 4},
    {"COOL_DEG", 93},   {"IAC_CLOS", 200},
    {"IAC_OPEN", 25},   {"IAC_TPSE", 25},
    {"IAC_TPSC", 50},   {"IAC_MAXR", 450},
    {"IAC_ERRR", 43},   {"IAC_DEAD", 50},
    {"IGN_FIRE", 0.1},  {"IGN_TDWL", 4.0},
    {"IGN_PCNT", 22.3}, {"EGO_FLGS", 0},
    {"EGO_WBV0", 1.4},  {"EGO_WBV1", 0.7},
    {"TPS_BASE", 8},    {"TPS_FS_V", 92},
    {"TPS_EGOD", 70},   {"TPS_DECL", 5},
    {"MNRPMEGO", 1200}, {"MNRPMDCL", 1500},
};

// Coolant enrichment from cold to hot, and the idle speed over the same
// points.
constexpr double kColdEnrichment[] = {1.50, 1.40, 1.30, 1.22, 1.15,
                                      1.10, 1.05, 1.02, 1.00};
constexpr double kIdleSpeeds[] = {1500, 1400, 1300, 1200, 1100,
                                  1000, 900,  850,  800};

// The value of element i: from its curve, else the table's flat value.
double TableDefault(const TableItem& table, int i) {
  if (table.key == "CLTM") return kColdEnrichment[i];
  if (table.key == "IDLE") return kIdleSpeeds[i];
  if (table.key == "PTBL") return 1 << (i % 4);  // drivers 1 to 4 in turn
  if (table.key == "EGOM") return 1.0;           // lambda
  if (table.key == "MAPM" || table.key == "MATM" || table.key == "AUXM" ||
      table.key == "BARG") {
    return 1.0;  // gain
  }
  return 0.0;  // no retard, no throttle pulse width, no supplementary duty
}

// Plausible tachometer full scales and absolute MAP sensor types.
constexpr int kFullScaleRpms[] = {6000, 7000, 8000, 9000, 10000, 11000, 12000};
constexpr int kAbsoluteMapTypes[] = {0, 1, 3};

template <typename T, size_t N>
T Pick(std::mt19937& random, const T (&choices)[N]) {
  return choices[random() % N];
}

// The pressure and speed fractions are taken against the default sensor
// and full scale, set in the same table.
CalibrationMemory DefaultCalibration() {
  CalibrationMemory memory;
  LiveData scale;
  scale.FullScaleRpm = kDefaultFullScaleRpm;
  const MapSensorScale map = MapSensorScaleFor(0);
  scale.MapSpan = map.span;
  scale.MapOffset = map.offset;
  for (const ItemDefault& entry : kScalarDefaults) {
    const ScalarItem& item = *FindScalar(entry.key);
    const int64_t raw = ValueToRaw(item.scaling, entry.value, scale);
    memory.SetScalar(item.key, static_cast<int>(raw & 0xFFFF));
  }
  for (const TableItem& table : AllTables()) {
    for (int i = 0; i < table.count; ++i) {
      const int64_t raw =
          ValueToRaw(table.scaling, TableDefault(table, i), scale);
      SetCellValue(memory, table, i, static_cast<int>(raw));
    }
  }
  return memory;
}

}  // namespace

void FillDefaultCalibration(CalibrationMemory& memory) {
  // Every virtual ECU starts from it, twice (memory and engine model): the
  // conversions are worked out once.
  static const CalibrationMemory defaults = DefaultCalibration();
  memory = defaults;
}

void FillRandomCalibration(CalibrationMemory& memory, uint32_t seed) {
  std::mt19937 random(seed);
  const auto draw = [&random](int width) {
    return static_cast<int>(random() & (width == 2 ? 0xFFFF : 0xFF));
  };
  for (const ScalarItem& item : AllScalars()) {
    memory.SetScalar(item.key, draw(item.width));
  }
  memory.SetScalar("FS_RPM", Pick(random, kFullScaleRpms));
  memory.SetScalar("MAP_TYPE", Pick(random, kAbsoluteMapTypes));
  for (const TableItem& table : AllTables()) {
    for (int i = 0; i < table.count; ++i) {
      SetCellValue(memory, table, i, draw(WidthOf(table)));
    }
  }
}

void FillCalibration(CalibrationMemory& memory, const SimOptions& options) {
  if (options.random_calibration) {
    FillRandomCalibration(memory, options.seed);
  } else {
    FillDefaultCalibration(memory);
  }
}

}  // namespace ecu::sim

#include "core/editors/curve_cells.h"

#include "core/calibration/catalogue.h"

namespace ecu {
namespace {

constexpr std::string_view kFuelTip =
    "Higher numbers in this cell will yield more fuel to be injected across "
    "this section of the map";

// An arrow that is the editor's but moves nothing.
constexpr ArrowMove kStay{};

// The fuel gains and the EGO set points step by one count of a gain byte.
constexpr Nudge kGainNudge{
    .step = 1.0 / 64, .min = 0, .max = 3.984, .format = "#.000"};

ArrowMove To(std::string_view family, int index = kSameIndex) {
  return ArrowMove{.edge_family = family, .edge_index = index};
}

// Left and Right walk along the curve and stop at its ends.
CellFamily GainRow(const CurveRow& row, ArrowMove up, ArrowMove down) {
  CellFamily f;
  f.name = row.family;
  f.count = kCurvePoints;
  f.table = FindTable(row.table_key);
  f.nudge = kGainNudge;
  f.arrows = {.up = up,
              .down = down,
              .left = ArrowMove{.delta = -1},
              .right = ArrowMove{.delta = 1}};
  return f;
}

// The retards, the baro gain and the idle speeds take typing and Enter
// only.
CellFamily PlainRow(const CurveRow& row) {
  CellFamily f;
  f.name = row.family;
  f.count = kCurvePoints;
  f.table = FindTable(row.table_key);
  f.focus_colours = false;
  return f;
}

// Up and Down step through a column and run on into the next one; Up from
// the last set point goes back to the AUX curve.
CellFamily EgoGrid() {
  CellFamily f;
  f.name = kEgoSetPoints;
  f.count = kEgoSetPointCount;
  f.table = FindTable("EGOM");
  f.nudge = kGainNudge;
  f.arrows = {
      .up = ArrowMove{.delta = 1, .edge_family = kAuxGains, .edge_index = 0},
      .down = ArrowMove{.delta = -1},
      .left = ArrowMove{.delta = -kEgoGridSize},
      .right = ArrowMove{.delta = kEgoGridSize}};
  return f;
}

}  // namespace

const std::array<CurveRow, kCurveRowCount>& CurveRows() {
  static constexpr std::array<CurveRow, kCurveRowCount> kRows = {{
      {kCoolantGains, "CLTM", "CLT Enrichment", "Coolant Temperature \u00b0C",
       CurveInput::kCoolant, "clt_bar", kFuelTip},
      {kAirGains, "MATM", "MAT Enrichment", "Air Temperature \u00b0C",
       CurveInput::kAirTemperature, "mat_bar", kFuelTip},
      {kMapRetards, "IGNM", "MAP Ign. Retard \u00b0", "Manifold Pressure [kPa]",
       CurveInput::kManifoldPressure, "map_ign_bar",
       "The degrees of Ignition Retard due to manifold pressure"},
      {kRpmRetards, "IGNR", "RPM Ign. Retard \u00b0", "Revs Per Minute",
       CurveInput::kEngineSpeed, "rpm_ign_bar",
       "The degrees of Ignition Retard due to Engine speed"},
      {kAirRetards, "IGNT", "MAT Ign. Retard \u00b0", "Air Temperature \u00b0C",
       CurveInput::kAirTemperature, "mat_bar2",
       "The degrees of Ignition Retard due to Manifold Air Temperature."},
      {kBaroGains, "BARG", "Barometric Compensator",
       "Barometric Pressure [kPa]", CurveInput::kBaroPressure, "baro_bar",
       "Higher values will give more fuel at this barometric pressure"},
      {kIdleSpeeds, "IDLE", "Idle Speed Setting", "Coolant Temperature \u00b0C",
       CurveInput::kCoolant, "idle_speed_bar",
       "The Idle speed setpoint in RPM for this section of the coolant "
       "temperature band"},
      {kAuxGains, "AUXM", "AUX Enrichment",
       "Auxiliary Compensation Input [Volts]", CurveInput::kAuxVolts, "aux_bar",
       kFuelTip},
  }};
  return kRows;
}

std::vector<CellFamily> CurveFamilies() {
  std::vector<CellFamily> families;
  for (const CurveRow& row : CurveRows()) {
    if (row.family == kCoolantGains) {
      families.push_back(GainRow(row, kStay, To(kAirGains)));
    } else if (row.family == kAirGains) {
      families.push_back(GainRow(row, To(kCoolantGains), To(kAuxGains)));
    } else if (row.family == kAuxGains) {
      families.push_back(GainRow(row, To(kAirGains), To(kEgoSetPoints, 4)));
    } else {
      families.push_back(PlainRow(row));
    }
  }
  families.push_back(EgoGrid());
  return families;
}

std::vector<CellRef> CurveUpdateOrder() {
  static constexpr std::string_view kPointOrder[] = {
      kCoolantGains, kAirGains,   kAuxGains,  kMapRetards,
      kRpmRetards,   kAirRetards, kBaroGains, kIdleSpeeds};
  std::vector<CellRef> order;
  for (int k = 0; k < kCurvePoints; ++k) {
    for (std::string_view family : kPointOrder) order.push_back({family, k});
  }
  return order;
}

std::vector<CellRef> EgoUpdateOrder() {
  std::vector<CellRef> order;
  for (int i = 0; i < kEgoSetPointCount; ++i) {
    order.push_back({kEgoSetPoints, i});
  }
  return order;
}

}  // namespace ecu

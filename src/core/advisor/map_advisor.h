#ifndef ECU_CORE_ADVISOR_MAP_ADVISOR_H_
#define ECU_CORE_ADVISOR_MAP_ADVISOR_H_

#include <array>
#include <optional>
#include <vector>

#include "core/advisor/advisor_settings.h"
#include "core/advisor/data_log_reader.h"
#include "core/calibration/map_geometry.h"

namespace ecu {

// What the advisor makes of the logs and the map.
struct AdvisorInputs {
  std::vector<const DataLog*> logs;
  // The fuel map the logs were driven on, as gains; nothing where a cell's
  // value is unknown (such a cell cannot be corrected).
  std::array<std::optional<double>, kMapCellCount> map{};
  MapAxes axes;
  LambdaTarget target;
  AdvisorSettings settings;
};

// What becomes of one cell.
enum class CellOutcome {
  kNotVisited,     // no sample came near it
  kTooFewSamples,  // some, but fewer than the minimum
  kNoValue,        // the map's value is unknown
  kOnTarget,       // the change would be less than the map's smallest step
  kChanged,
  kLimited,  // held to the most a pass may change, or to the map's range
  kFilled,   // never visited; takes the change of the changed cells beside
};

struct CellAdvice {
  CellOutcome outcome = CellOutcome::kNotVisited;
  int samples = 0;    // samples near it (any share)
  double weight = 0;  // their shares added up
  // Weighted means over those samples: the lambda the map alone gave (the
  // EGO correction's share taken out) and the lambda wanted.
  std::optional<double> mean_lambda;
  std::optional<double> mean_target;
  std::optional<double> current;   // gain
  std::optional<double> proposed;  // a gain the map can hold; set whenever
                                   // the cell changes
  double change_percent = 0;       // proposed against current
  bool changes() const {
    return outcome == CellOutcome::kChanged ||
           outcome == CellOutcome::kLimited || outcome == CellOutcome::kFilled;
  }
};

// How the samples were sorted, over all logs.
struct SampleTally {
  int total = 0;
  int used = 0;
  int cold = 0;
  int transient = 0;
  int not_fuelled = 0;
  int implausible = 0;
  int no_target = 0;
};

struct Advice {
  std::array<CellAdvice, kMapCellCount> cells;
  SampleTally tally;
  int changed_cells = 0;
  int limited_cells = 0;
};

// Proposes a gain for every cell: the current gain times the weighted mean
// of (lambda the map gave / lambda wanted) over the samples near it, so
// that a cell 10 % lean gets 10 % more fuel. Changes are held to the most
// a pass may move and rounded to what the map holds (raw / 128, 0..255).
Advice AdviseMap(const AdvisorInputs& inputs);

// How far the map alone (the EGO correction's share taken out) misses its
// target in a log: the mean of |lambda / target - 1| over the samples in
// each cell the engine ran in (the live cell, as Basic Mapping marks it),
// then the mean and the worst over those cells.
struct MapError {
  int cells = 0;  // cells with at least `min_samples` used samples
  double mean = 0;
  double worst = 0;
};
MapError MeasureMapError(const std::vector<const DataLog*>& logs,
                         const MapAxes& axes, const LambdaTarget& target,
                         const AdvisorSettings& settings, int min_samples = 1);

}  // namespace ecu

#endif  // ECU_CORE_ADVISOR_MAP_ADVISOR_H_

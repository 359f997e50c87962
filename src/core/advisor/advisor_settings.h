#ifndef ECU_CORE_ADVISOR_ADVISOR_SETTINGS_H_
#define ECU_CORE_ADVISOR_ADVISOR_SETTINGS_H_

#include <array>
#include <optional>

#include "core/calibration/map_geometry.h"

namespace ecu {

// Which samples the advisor trusts and how far it moves the map in one
// pass. The defaults suit a warmed-up engine logged at 10 samples a second.
struct AdvisorSettings {
  // A cold engine runs on its warm-up enrichment, not on the map.
  double min_clt_c = 70;
  // Steady throttle: a faster change, and the time after it while the
  // acceleration enrichment and the sensor settle, are passed over.
  double max_tps_rate = 10;  // percent a second
  double settle_s = 0.5;
  // A cell is changed only with this many samples' worth near it (each
  // sample counts by its share of the cell).
  double min_samples = 5;
  // The most a cell moves in one pass, either way.
  double max_change_percent = 15;
  // A sample is shared by the four cells around it by nearness; without,
  // it counts whole for the nearest cell.
  bool spread_over_neighbours = true;
  // Cells no sample came near stay as they are; without, they take the
  // mean change of the changed cells beside them.
  bool skip_unvisited = true;
};

// The lambda the map should give: the EGO set-point grid at each sample's
// operating point, or one lambda everywhere.
struct LambdaTarget {
  std::array<std::optional<double>, kEgoSetPointCount> ego_grid{};
  std::optional<double> fixed;
};

}  // namespace ecu

#endif  // ECU_CORE_ADVISOR_ADVISOR_SETTINGS_H_

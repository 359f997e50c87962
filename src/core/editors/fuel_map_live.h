#ifndef ECU_CORE_EDITORS_FUEL_MAP_LIVE_H_
#define ECU_CORE_EDITORS_FUEL_MAP_LIVE_H_

#include <string>

#include "core/editors/editor_colours.h"
#include "core/link/live_data.h"

namespace ecu {

// The live read-outs of the fuel map window, as last written.
struct FuelMapReadouts {
  std::string control_lambda;
  std::string af_condition = "RICH";  // the rich/lean indicator
  Rgb af_colour = kBlue;
  std::string control_ego_gain;
  std::string control_map_gain;
  std::string mapping_rpm;
  std::string inj_pulse_width;
};

// Writes the read-outs from the last live frame. A lambda of exactly 1.0
// leaves the rich/lean indicator as it was.
void RefreshReadouts(const LiveData& live, FuelMapReadouts& readouts);

// Where the engine runs on the fuel map: the load and speed as fractions of
// their axes, the throttle as a fraction of the TPS axis, and the map cell.
struct OperatingPoint {
  double load_fraction = 0;
  double speed_fraction = 0;
  double tps_fraction = 0;
  int live_index = 0;
};

// Load is the throttle with TPS mapping, else the manifold pressure, which
// is first raised to the sensor's offset (and stored so). A load at the top
// of its axis lands on the bottom cell of the next column, and the index is
// held within the map.
OperatingPoint FindOperatingPoint(LiveData& live, bool tps_mapped);

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_FUEL_MAP_LIVE_H_

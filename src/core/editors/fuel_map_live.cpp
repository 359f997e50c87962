#include "core/editors/fuel_map_live.h"

#include "core/calibration/map_geometry.h"
#include "core/numbers/number_format.h"

namespace ecu {

void RefreshReadouts(const LiveData& live, FuelMapReadouts& readouts) {
  readouts.control_lambda = FormatNumber(live.Lambda, "0.000");
  if (live.Lambda == 0) {
    readouts.af_condition.clear();
  } else if (live.Lambda > 1.0f) {
    readouts.af_condition = "Lean";
    readouts.af_colour = kLightRed;
  } else if (live.Lambda < 1.0f) {
    readouts.af_condition = "Rich";
    readouts.af_colour = kBlue;
  }
  readouts.control_ego_gain = FormatNumber(live.EgoCorrection, "0.000");
  readouts.control_map_gain = FormatNumber(live.MapEnrichment, "0.000");
  readouts.mapping_rpm = FormatNumber(live.RPM, "####0");
  readouts.inj_pulse_width = FormatNumber(live.PW * 1000.0, "#0.000");
}

OperatingPoint FindOperatingPoint(LiveData& live, bool tps_mapped) {
  if (live.MAP < live.MapOffset) live.MAP = live.MapOffset;
  OperatingPoint point;
  point.tps_fraction = live.TPS / 100.0;
  point.load_fraction = tps_mapped ? point.tps_fraction
                                   : (live.MAP - live.MapOffset) /
                                         static_cast<double>(live.MapSpan);
  point.speed_fraction = live.RPM / static_cast<double>(live.FullScaleRpm);
  point.live_index = LiveCellIndex({point.speed_fraction, point.load_fraction});
  return point;
}

}  // namespace ecu

#ifndef ECU_SIM_LIVE_SCALING_H_
#define ECU_SIM_LIVE_SCALING_H_

#include "sim/calibration_memory.h"

namespace ecu::sim {

// Full scale of the engine speed until the calibration sets FS_RPM.
inline constexpr int kDefaultFullScaleRpm = 10000;

// The scaling the console decodes engine speed and MAP with; the ECU must
// encode with the same, so it follows the calibration (FS_RPM, MAP_TYPE).
struct LiveScaling {
  double full_scale_rpm = kDefaultFullScaleRpm;
  double map_span = 115.0;
  double map_offset = 10.0;
};
LiveScaling ScalingOf(const CalibrationMemory& memory);

}  // namespace ecu::sim

#endif  // ECU_SIM_LIVE_SCALING_H_

#include "sim/live_scaling.h"

#include "core/link/live_data.h"

namespace ecu::sim {

LiveScaling ScalingOf(const CalibrationMemory& memory) {
  LiveScaling scaling;
  scaling.full_scale_rpm = memory.ScalarOr("FS_RPM", kDefaultFullScaleRpm);
  const MapSensorScale map = MapSensorScaleFor(memory.ScalarOr("MAP_TYPE", 0));
  scaling.map_span = map.span;
  scaling.map_offset = map.offset;
  return scaling;
}

}  // namespace ecu::sim

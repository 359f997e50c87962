#ifndef ECU_SIM_MEMORY_SEED_H_
#define ECU_SIM_MEMORY_SEED_H_

#include <cstdint>

#include "sim/calibration_memory.h"
#include "sim/sim_options.h"

namespace ecu::sim {

// A plausible calibration for a small four-cylinder engine: unity gains,
// flat maps, a cold-start enrichment and idle curve, a 1 bar MAP sensor.
void FillDefaultCalibration(CalibrationMemory& memory);

// Random contents within each item's width, the same for the same seed.
// FS_RPM and MAP_TYPE stay plausible (6000..12000 rev/min, an absolute MAP
// sensor) so that the live frames keep making sense.
void FillRandomCalibration(CalibrationMemory& memory, uint32_t seed);

// The default calibration, or the random one when the options ask for it.
void FillCalibration(CalibrationMemory& memory, const SimOptions& options);

}  // namespace ecu::sim

#endif  // ECU_SIM_MEMORY_SEED_H_

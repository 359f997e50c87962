#ifndef ECU_SIM_FUEL_REQUIREMENT_H_
#define ECU_SIM_FUEL_REQUIREMENT_H_

#include <array>
#include <cstdint>
#include <span>

#include "core/calibration/map_geometry.h"
#include "sim/calibration_memory.h"

namespace ecu::sim {

// The engine's true fuel requirement: for each fuel map cell, the gain the
// map would need there for lambda 1 with the default injector adjustments.
// It is hidden from the console; a good map is one that matches it.
using TrueFuelMap = std::array<double, kMapCellCount>;

// Smooth over speed and load (a breathing curve with its peak in the
// middle of the speed range, more fuel at high load, a few seeded gentle
// waves); the same for the same seed.
TrueFuelMap MakeTrueFuelMap(uint32_t seed);

// Writes the fuel map into the calibration: the true requirement with each
// cell off by a random amount of up to +/- `error_percent`, drawn from
// `seed`, as raw gains within a byte.
void WriteFuelMap(CalibrationMemory& memory, const TrueFuelMap& truth,
                  double error_percent, uint32_t seed);

}  // namespace ecu::sim

#endif  // ECU_SIM_FUEL_REQUIREMENT_H_

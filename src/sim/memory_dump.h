#ifndef ECU_SIM_MEMORY_DUMP_H_
#define ECU_SIM_MEMORY_DUMP_H_

#include <string>

#include "sim/calibration_memory.h"

namespace ecu::sim {

// The memory as a setup file, line for line what the console's save writes
// of the same calibration: 436 lines ended by CR LF, the scalars in the
// file's order (BAT_COMP twice) and then every table element, raw counts as
// the file keeps them (COOL_DEG as signed degrees, TMP_THRS as its byte,
// FUEL_B with its bias).
std::string SetupFileText(const CalibrationMemory& memory);

// Writes that text to `path` through a temporary file renamed into place, so
// a reader never sees half a dump. False when it fails.
bool WriteMemoryDump(const CalibrationMemory& memory, const std::string& path);

}  // namespace ecu::sim

#endif  // ECU_SIM_MEMORY_DUMP_H_

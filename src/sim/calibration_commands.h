#ifndef ECU_SIM_CALIBRATION_COMMANDS_H_
#define ECU_SIM_CALIBRATION_COMMANDS_H_

#include "sim/calibration_memory.h"
#include "sim/command_table.h"

namespace ecu::sim {

// Registers every calibration command of the catalogue, answered from the
// memory: the table cells ("E"/"e", "X"/"x"), the phase table (127, 128),
// the blocks ("B", "C", 208, 212), the single reads and every write code,
// whose echo has the layout of the item's read. A cell address in no table,
// or a phase index beyond the table, gets no reply and changes nothing.
void AddCalibrationCommands(CommandTable& table, CalibrationMemory& memory);

}  // namespace ecu::sim

#endif  // ECU_SIM_CALIBRATION_COMMANDS_H_

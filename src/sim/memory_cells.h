#ifndef ECU_SIM_MEMORY_CELLS_H_
#define ECU_SIM_MEMORY_CELLS_H_

#include <string>

#include "core/calibration/catalogue.h"
#include "sim/calibration_memory.h"

namespace ecu::sim {

// Element i of a catalogued table as the ECU keeps it: a byte at its 16-bit
// address, a word at its one-byte address, or a phase cell.
int CellValue(const CalibrationMemory& memory, const TableItem& table,
              int index);
void SetCellValue(CalibrationMemory& memory, const TableItem& table, int index,
                  int raw);

// A scalar's raw count (0 while never set) and its bytes on the wire in the
// width the item travels with, low byte first.
int ScalarValue(const CalibrationMemory& memory, const ScalarItem& item);
std::string ScalarBytes(const ScalarItem& item, int raw);

}  // namespace ecu::sim

#endif  // ECU_SIM_MEMORY_CELLS_H_

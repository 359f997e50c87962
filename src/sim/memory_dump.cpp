#include "sim/memory_dump.h"

#include "core/calibration/catalogue.h"
#include "core/calibration/setup_file_format.h"
#include "core/text_file.h"
#include "sim/memory_cells.h"

namespace ecu::sim {
namespace {

// The number the file keeps for a scalar: the raw count, except for the
// items whose holder keeps the signed value of their byte.
int FileValue(const ScalarItem& item, int raw) {
  if (item.width == 1 && item.holder_signed) {
    const int byte = raw & 0xFF;
    return byte > 127 ? byte - 256 : byte;
  }
  return raw;
}

}  // namespace

std::string SetupFileText(const CalibrationMemory& memory) {
  return SetupFileTextOf(
      [&](const ScalarItem& item) {
        return FileValue(item, ScalarValue(memory, item));
      },
      [&](const TableItem& table, int index) {
        return CellValue(memory, table, index);
      });
}

bool WriteMemoryDump(const CalibrationMemory& memory, const std::string& path) {
  return WriteFileReplacing(path, SetupFileText(memory));
}

}  // namespace ecu::sim

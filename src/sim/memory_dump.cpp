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
  std::string text;
  for (std::string_view key : SetupScalarOrder()) {
    const ScalarItem& item = *FindScalar(key);
    text += ScalarLine(item, FileValue(item, ScalarValue(memory, item)));
    text += kSetupLineEnd;
  }
  for (const TableItem& table : AllTables()) {
    for (int i = 0; i < table.count; ++i) {
      text += TableLine(table, i, CellValue(memory, table, i));
      text += kSetupLineEnd;
    }
  }
  return text;
}

bool WriteMemoryDump(const CalibrationMemory& memory, const std::string& path) {
  return WriteFileReplacing(path, SetupFileText(memory));
}

}  // namespace ecu::sim

#include "sim/memory_cells.h"

namespace ecu::sim {

int CellValue(const CalibrationMemory& memory, const TableItem& table,
              int index) {
  switch (table.cells) {
    case CellKind::kByteCell:
      return memory.TableByte(AddressOf(table, index));
    case CellKind::kWordCell:
      return memory.Word(AddressOf(table, index));
    case CellKind::kPhaseCell:
      break;
  }
  return memory.PhaseCell(index);
}

void SetCellValue(CalibrationMemory& memory, const TableItem& table, int index,
                  int raw) {
  switch (table.cells) {
    case CellKind::kByteCell:
      memory.SetTableByte(AddressOf(table, index), static_cast<uint8_t>(raw));
      return;
    case CellKind::kWordCell:
      memory.SetWord(AddressOf(table, index), raw);
      return;
    case CellKind::kPhaseCell:
      break;
  }
  memory.SetPhaseCell(index, static_cast<uint8_t>(raw));
}

int ScalarValue(const CalibrationMemory& memory, const ScalarItem& item) {
  return memory.ScalarOr(item.key, 0);
}

std::string ScalarBytes(const ScalarItem& item, int raw) {
  std::string bytes(1, static_cast<char>(raw & 0xFF));
  if (item.width == 2) bytes.push_back(static_cast<char>((raw >> 8) & 0xFF));
  return bytes;
}

}  // namespace ecu::sim

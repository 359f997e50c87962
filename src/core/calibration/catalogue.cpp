#include "core/calibration/catalogue.h"

#include <cstdio>

#include "core/link/frame.h"
#include "core/numbers/rounding.h"

namespace ecu {

const ScalarItem* FindScalar(std::string_view key) {
  for (const ScalarItem& item : AllScalars()) {
    if (item.key == key) return &item;
  }
  return nullptr;
}

const TableItem* FindTable(std::string_view key) {
  for (const TableItem& table : AllTables()) {
    if (table.key == key) return &table;
  }
  return nullptr;
}

const ScalarItem* ScalarForWriteCode(uint8_t code) {
  for (const ScalarItem& item : AllScalars()) {
    if (item.write_code == code) return &item;
  }
  return nullptr;
}

const ScalarItem* ScalarForOwnReadCode(uint8_t code) {
  for (const ScalarItem& item : AllScalars()) {
    if (HasOwnRead(item) && item.read_code == code) return &item;
  }
  return nullptr;
}

int ScalarIndex(const ScalarItem& item) {
  return static_cast<int>(&item - AllScalars().data());
}

bool HasOwnRead(const ScalarItem& item) { return item.block_offset == 0; }

int AddressOf(const TableItem& table, int index) {
  switch (table.cells) {
    case CellKind::kByteCell:
      return table.first_address + index;
    case CellKind::kWordCell:
      return table.first_address + 2 * index;
    case CellKind::kPhaseCell:
      break;
  }
  return index;
}

int WidthOf(const TableItem& table) {
  return table.cells == CellKind::kWordCell ? 2 : 1;
}

uint8_t ReadCodeOf(const TableItem& table) {
  switch (table.cells) {
    case CellKind::kByteCell:
      return kReadByteCell;
    case CellKind::kWordCell:
      return kReadWordCell;
    case CellKind::kPhaseCell:
      break;
  }
  return kReadPhaseTable;
}

uint8_t WriteCodeOf(const TableItem& table) {
  switch (table.cells) {
    case CellKind::kByteCell:
      return kWriteByteCell;
    case CellKind::kWordCell:
      return kWriteWordCell;
    case CellKind::kPhaseCell:
      break;
  }
  return kWritePhaseCell;
}

int CellReplyLength(const TableItem& table) {
  return table.cells == CellKind::kPhaseCell ? kPhaseCellReplyLength
                                             : kCellReplyLength;
}

std::string CellReadCommand(const TableItem& table, int index) {
  const int address = AddressOf(table, index);
  switch (table.cells) {
    case CellKind::kByteCell:
      return Command(kReadByteCell, address & 0xFF, address >> 8, 0);
    case CellKind::kWordCell:
      return Command(kReadWordCell, address, 0, 0);
    case CellKind::kPhaseCell:
      break;
  }
  return Command(kReadPhaseTable);  // read whole, without arguments
}

std::string CellWriteCommand(const TableItem& table, int index, int raw) {
  const int address = AddressOf(table, index);
  switch (table.cells) {
    case CellKind::kByteCell:
      return Command(kWriteByteCell, address & 0xFF, address >> 8, raw);
    case CellKind::kWordCell:
      return Command(kWriteWordCell, address, raw & 0xFF, raw >> 8);
    case CellKind::kPhaseCell:
      break;
  }
  return Command(kWritePhaseCell, index, raw, 0);
}

std::string ScalarWriteCommand(const ScalarItem& item, int raw) {
  return item.width == 2 ? CommandWithWord(item.write_code, raw)
                         : CommandWithByte(item.write_code, raw);
}

std::string ScalarReadCommand(const ScalarItem& item) {
  return Command(item.read_code);
}

std::string TableFileField(const TableItem& table, int index) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%03d", index);
  return std::string(table.key) + "[" + digits + "]=";
}

std::string ScalarFileField(const ScalarItem& item) {
  std::string field(item.key);
  if (field.size() < 8) field.resize(8, ' ');
  return field + "= ";
}

std::optional<TableCell> TableForAddress(uint8_t read_code, int address) {
  const CellKind kind =
      read_code == kReadWordCell ? CellKind::kWordCell : CellKind::kByteCell;
  for (const TableItem& table : AllTables()) {
    if (table.cells != kind) continue;
    const int last = AddressOf(table, table.count - 1);
    if (address < table.first_address || address > last) continue;
    const double offset = address - table.first_address;
    const int index = static_cast<int>(
        RoundHalfEven(kind == CellKind::kWordCell ? offset / 2 : offset));
    return TableCell{&table, index};
  }
  return std::nullopt;
}

ItemRange RangeOf(const ScalarItem& item) {
  if (item.width == 2) return {0, 65535};
  return {item.is_signed ? -128 : 0, 255};
}

ItemRange RangeOf(const TableItem& table) {
  return {0, WidthOf(table) == 2 ? 65535 : 255};
}

}  // namespace ecu

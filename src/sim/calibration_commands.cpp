#include "sim/calibration_commands.h"

#include <optional>
#include <string>

#include "core/calibration/catalogue.h"
#include "sim/memory_cells.h"

namespace ecu::sim {
namespace {

// Reply data starts at byte 3 of the frame, after start, length and code.
constexpr int kDataStart = 3;

using Reply = std::optional<std::string>;

std::string Byte(int value) {
  return std::string(1, static_cast<char>(value & 0xFF));
}

std::string Word(int value) { return Byte(value) + Byte(value >> 8); }

// "E"/"e": u16 address, value byte.
Reply ByteCell(CalibrationMemory& memory, const Request& request, bool write) {
  const int address = request.args[0] | request.args[1] << 8;
  if (!TableForAddress(kReadByteCell, address)) return std::nullopt;
  if (write) memory.SetTableByte(address, request.args[2]);
  return Word(address) + Byte(memory.TableByte(address));
}

// "X"/"x": one-byte address, u16 value.
Reply WordCell(CalibrationMemory& memory, const Request& request, bool write) {
  const int address = request.args[0];
  if (!TableForAddress(kReadWordCell, address)) return std::nullopt;
  if (write) memory.SetWord(address, request.args[1] | request.args[2] << 8);
  return Byte(address) + Word(memory.Word(address));
}

std::string PhaseTable(const CalibrationMemory& memory) {
  std::string data;
  for (int p = 0; p < CalibrationMemory::kPhaseCells; ++p) {
    data += Byte(memory.PhaseCell(p));
  }
  return data;
}

Reply PhaseCellWrite(CalibrationMemory& memory, const Request& request) {
  const int index = request.args[0];
  if (index >= CalibrationMemory::kPhaseCells) return std::nullopt;
  memory.SetPhaseCell(index, request.args[1]);
  return Byte(index) + Byte(memory.PhaseCell(index));
}

std::string BlockData(const CalibrationMemory& memory, const ReadBlock& block) {
  std::string data(static_cast<size_t>(block.length - kDataStart), '\0');
  ForEachItemOfBlock(block.code, [&](const ScalarItem& item) {
    data.replace(static_cast<size_t>(item.block_offset - kDataStart),
                 static_cast<size_t>(item.width),
                 ScalarBytes(item, ScalarValue(memory, item)));
  });
  return data;
}

// A write carries a word as low, high, 0 and a byte as value, 0, 0.
int WrittenValue(const ScalarItem& item, const Request& request) {
  return item.width == 2 ? request.args[0] | request.args[1] << 8
                         : request.args[0];
}

}  // namespace

void AddCalibrationCommands(CommandTable& table, CalibrationMemory& memory) {
  table.Add(kReadByteCell, [&memory](const Request& r) {
    return ByteCell(memory, r, /*write=*/false);
  });
  table.Add(kWriteByteCell, [&memory](const Request& r) {
    return ByteCell(memory, r, /*write=*/true);
  });
  table.Add(kReadWordCell, [&memory](const Request& r) {
    return WordCell(memory, r, /*write=*/false);
  });
  table.Add(kWriteWordCell, [&memory](const Request& r) {
    return WordCell(memory, r, /*write=*/true);
  });
  table.Add(kReadPhaseTable,
            [&memory](const Request&) { return Reply(PhaseTable(memory)); });
  table.Add(kWritePhaseCell,
            [&memory](const Request& r) { return PhaseCellWrite(memory, r); });

  for (const ReadBlock& block : AllBlocks()) {
    table.Add(block.code, [&memory, block](const Request&) {
      return Reply(BlockData(memory, block));
    });
  }
  for (const ScalarItem& item : AllScalars()) {
    const ScalarItem* p = &item;
    if (HasOwnRead(item)) {
      table.Add(item.read_code, [&memory, p](const Request&) {
        return Reply(ScalarBytes(*p, ScalarValue(memory, *p)));
      });
    }
    table.Add(item.write_code, [&memory, p](const Request& r) {
      memory.SetScalar(p->key, WrittenValue(*p, r));
      return Reply(ScalarBytes(*p, ScalarValue(memory, *p)));
    });
  }
}

}  // namespace ecu::sim

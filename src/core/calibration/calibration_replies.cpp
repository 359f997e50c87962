#include "core/calibration/calibration_replies.h"

#include <string>
#include <string_view>
#include <utility>

#include "core/calibration/scaling.h"
#include "core/link/frame.h"

namespace ecu {
namespace {

// Byte 3 onwards is the data of every reply frame.
constexpr int kData = 3;
constexpr int kPhaseEntries = 8;

struct Records {
  CalibrationImage& image;
  LiveData& live;
  FieldBoard& board;
};

int32_t ItemRawAt(const ScalarItem& item, std::string_view frame, int at) {
  if (item.width == 2) return U16At(frame, at);
  return item.holder_signed ? S8At(frame, at) : ByteAt(frame, at);
}

// FS_RPM and MAP_TYPE also set the scaling that live data and the editors
// use, at once.
void ApplyScaling(const ScalarItem& item, int32_t raw, LiveData& live) {
  if (item.key == "FS_RPM") {
    ApplyFullScaleRpm(raw, live);
  } else if (item.key == "MAP_TYPE") {
    const MapSensorScale scale = MapSensorScaleFor(raw);
    live.MapSpan = scale.span;
    live.MapOffset = scale.offset;
  }
}

bool DecodeItem(const ScalarItem& item, bool sets_holder,
                std::string_view frame, const Records& records) {
  const int32_t raw = ItemRawAt(item, frame, kData);
  if (sets_holder) records.image.set_scalar(item, raw);
  ApplyScaling(item, raw, records.live);
  PublishScalar(item, raw, records.live, records.board);
  return true;
}

bool DecodeBlock(uint8_t code, std::string_view frame, const Records& records) {
  // Scaling first, so that KILL_RPM and MIN_PRES are shown against the full
  // scale and sensor of the same block rather than the previous ones.
  ForEachItemOfBlock(code, [&](const ScalarItem& item) {
    const int32_t raw = ItemRawAt(item, frame, item.block_offset);
    records.image.set_scalar(item, raw);
    ApplyScaling(item, raw, records.live);
  });
  ForEachItemOfBlock(code, [&](const ScalarItem& item) {
    PublishScalar(item, records.image.scalar(item), records.live,
                  records.board);
  });
  return true;
}

void PublishCell(const TableItem& table, int index, int32_t raw,
                 const Records& records) {
  records.board.Publish(
      {table.field.window, table.field.field, index,
       DisplayText(table.scaling, table.format, raw, records.live), raw});
}

// "E"/"e": u16(3) address, byte 5 value. The holder takes the value even
// when the address lies in no table.
bool DecodeByteCell(std::string_view frame, const Records& records) {
  const int address = U16At(frame, kData);
  const int value = ByteAt(frame, kData + 2);
  records.image.set_last_byte_element(static_cast<int16_t>(value));
  const std::optional<TableCell> cell = TableForAddress(kReadByteCell, address);
  if (!cell) return false;
  PublishCell(*cell->table, cell->index, value, records);
  return true;
}

// "X"/"x": byte 3 address, u16(4) value.
bool DecodeWordCell(std::string_view frame, const Records& records) {
  const int address = ByteAt(frame, kData);
  const int value = U16At(frame, kData + 1);
  records.image.set_last_word_element(value);
  const std::optional<TableCell> cell = TableForAddress(kReadWordCell, address);
  if (!cell) return false;
  PublishCell(*cell->table, cell->index, value, records);
  return true;
}

bool DecodePhaseTable(std::string_view frame, const Records& records) {
  const TableItem& table = *FindTable("PTBL");
  for (int p = 0; p < kPhaseEntries; ++p) {
    records.image.set_phase_entry(p, ByteAt(frame, kData + p));
    PublishCell(table, p, ByteAt(frame, kData + p), records);
  }
  return true;
}

// The echo of a phase cell write shows in its row; the cached table changes
// only with a read of the whole table.
bool DecodePhaseCellEcho(std::string_view frame, const Records& records) {
  const int p = ByteAt(frame, kData);
  if (p < kPhaseEntries) {
    PublishCell(*FindTable("PTBL"), p, ByteAt(frame, kData + 1), records);
  }
  return true;
}

}  // namespace

void PublishScalar(const ScalarItem& item, int32_t raw, const LiveData& live,
                   const FieldBoard& board) {
  const std::string text = DisplayText(item.scaling, item.format, raw, live);
  for (const FieldRef& ref : item.fields) {
    if (ref.field.empty()) continue;
    if (ref.bit == kWholeValue) {
      board.Publish({ref.window, ref.field, ref.index, text, raw});
    } else {
      const int32_t bit = (raw >> ref.bit) & 1;
      board.Publish(
          {ref.window, ref.field, ref.index, std::to_string(bit), bit});
    }
  }
}

void AddCalibrationReplies(ReplyTable& replies, CalibrationImage& image,
                           LiveData& live, FieldBoard& board) {
  const Records records{image, live, board};
  // Each decoder only ever sees whole frames of its length.
  auto add = [&](uint8_t code, int length,
                 std::function<bool(std::string_view, const Records&)> decode,
                 int echoed_arguments = 0) {
    replies.Add(
        code, length,
        [records, length, decode = std::move(decode)](std::string_view frame) {
          if (static_cast<int>(frame.size()) != length + 2) {
            return false;
          }
          return decode(frame, records);
        },
        echoed_arguments);
  };

  for (const ScalarItem& item : AllScalars()) {
    const ScalarItem* p = &item;
    if (HasOwnRead(item)) {
      add(item.read_code, item.read_length,
          [p](std::string_view frame, const Records& r) {
            return DecodeItem(*p, true, frame, r);
          });
    }
    add(item.write_code, item.write_length,
        [p](std::string_view frame, const Records& r) {
          return DecodeItem(*p, p->echo_sets_holder, frame, r);
        });
  }
  for (const ReadBlock& block : AllBlocks()) {
    const uint8_t code = block.code;
    add(code, block.length, [code](std::string_view frame, const Records& r) {
      return DecodeBlock(code, frame, r);
    });
  }
  // Cell replies repeat the address: two bytes for one-byte cells, one for
  // two-byte cells and phase rows.
  for (uint8_t code : {kReadByteCell, kWriteByteCell}) {
    add(code, kCellReplyLength, DecodeByteCell, 2);
  }
  for (uint8_t code : {kReadWordCell, kWriteWordCell}) {
    add(code, kCellReplyLength, DecodeWordCell, 1);
  }
  add(kReadPhaseTable, kPhaseTableReplyLength, DecodePhaseTable);
  add(kWritePhaseCell, kPhaseCellReplyLength, DecodePhaseCellEcho, 1);

  const ScalarItem* closed = FindScalar("TPS_BASE");
  const ScalarItem* open = FindScalar("TPS_FS_V");
  add(kCaptureTpsClosed, kCaptureReplyLength,
      [closed](std::string_view frame, const Records& r) {
        return DecodeItem(*closed, true, frame, r);
      });
  add(kCaptureTpsOpen, kCaptureReplyLength,
      [open](std::string_view frame, const Records& r) {
        return DecodeItem(*open, true, frame, r);
      });
}

}  // namespace ecu

#include "core/calibration/calibration_reads.h"

#include <string>

namespace ecu {
namespace {

constexpr double kReadPause = 0.1;

// The reads that refresh every scalar holder and the phase table, in the
// order a save makes them.
constexpr uint8_t kHolderReads[CalibrationReads::kHolderReadCount] = {
    'C', 'B', '@', '!', '%', '^', 'Z', '[', 'S', 'T', 'U',
    'V', 'W', 127, 132, 134, 136, 138, 140, 142, 144, 146,
    148, 150, 153, 208, 212, 227, 229, 231, 233};

int ReplyLengthOfRead(uint8_t code) {
  if (code == kReadPhaseTable) return kPhaseTableReplyLength;
  for (const ReadBlock& block : AllBlocks()) {
    if (block.code == code) return block.length;
  }
  const ScalarItem* item = ScalarForOwnReadCode(code);
  return item == nullptr ? 0 : item->read_length;
}

}  // namespace

CalibrationReads::CalibrationReads(EcuLink& link, CalibrationImage& image)
    : link_(link), image_(image) {}

bool CalibrationReads::Read(const std::string& command, int reply_length) {
  const int unanswered_before = link_.unanswered();
  link_.SendCommand(command, reply_length);
  // In demo mode nobody is asked, and nobody answers either.
  const bool answered =
      !link_.state().demo_mode && link_.unanswered() == unanswered_before;
  silent_in_a_row_ = answered ? 0 : silent_in_a_row_ + 1;
  return answered;
}

void CalibrationReads::RefreshHolders(const std::function<bool()>& after_each) {
  answered_.clear();
  for (uint8_t code : kHolderReads) {
    link_.Pause(kReadPause);
    if (Read(std::string(1, static_cast<char>(code)),
             ReplyLengthOfRead(code))) {
      answered_.insert(code);
    }
    if (after_each && !after_each()) return;
  }
}

bool CalibrationReads::Answered(const ScalarItem& item) const {
  return answered_.contains(item.read_code);
}

bool CalibrationReads::PhaseTableAnswered() const {
  return answered_.contains(kReadPhaseTable);
}

std::optional<int32_t> CalibrationReads::ReadElement(const TableItem& table,
                                                     int index) {
  if (table.cells == CellKind::kPhaseCell) {
    if (!PhaseTableAnswered()) return std::nullopt;
    return image_.phase_table()[static_cast<size_t>(index)];
  }
  if (!Read(CellReadCommand(table, index), CellReplyLength(table))) {
    return std::nullopt;
  }
  return table.cells == CellKind::kWordCell ? image_.last_word_element()
                                            : image_.last_byte_element();
}

int32_t CalibrationReads::ElementHolder(const TableItem& table, int index) {
  if (const std::optional<int32_t> value = ReadElement(table, index)) {
    return *value;
  }
  if (table.cells == CellKind::kPhaseCell) {
    return image_.phase_table()[static_cast<size_t>(index)];
  }
  return table.cells == CellKind::kWordCell ? image_.last_word_element()
                                            : image_.last_byte_element();
}

}  // namespace ecu

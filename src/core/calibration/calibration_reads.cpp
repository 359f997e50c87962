#include "core/calibration/calibration_reads.h"

#include <string>

#include "core/link/frame.h"

namespace ecu {
namespace {

constexpr double kReadPause = 0.1;

// The reads that refresh every scalar holder and the phase table, in the
// order a save makes them.
constexpr uint8_t kHolderReads[CalibrationReads::kHolderReadCount] = {
    'C', 'B', '@', '!', '%', '^', 'Z', '[', 'S', 'T', 'U',
    'V', 'W', 127, 132, 134, 136, 138, 140, 142, 144, 146,
    148, 150, 153, 208, 212, 227, 229, 231, 233};

// What a holder read delivers, named for the user.
std::string ItemOfRead(uint8_t code) {
  if (code == kReadPhaseTable) return "PTBL";
  if (const ScalarItem* item = ScalarForOwnReadCode(code)) {
    return std::string(item->key);
  }
  std::string first;
  ForEachItemOfBlock(code, [&first](const ScalarItem& item) {
    if (first.empty()) first = item.key;
  });
  return first;
}

// "MAPM[012]".
std::string ElementName(const TableItem& table, int index) {
  std::string field = TableFileField(table, index);
  field.pop_back();  // the equals sign
  return field;
}

}  // namespace

CalibrationReads::CalibrationReads(EcuLink& link, CalibrationImage& image)
    : link_(link), image_(image) {}

bool CalibrationReads::Read(const std::string& command, std::string_view item) {
  // In demo mode nobody is asked, and nobody answers either.
  const bool answered = link_.SendCommand(command).answered();
  silent_in_a_row_ = answered ? 0 : silent_in_a_row_ + 1;
  if (!answered && first_unanswered_.empty()) first_unanswered_ = item;
  return answered;
}

void CalibrationReads::RefreshHolders(const std::function<bool()>& after_each) {
  answered_.clear();
  for (uint8_t code : kHolderReads) {
    link_.Pause(kReadPause);
    if (Read(Command(code), ItemOfRead(code))) {
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
  if (!Read(CellReadCommand(table, index), ElementName(table, index))) {
    return std::nullopt;
  }
  return table.cells == CellKind::kWordCell ? image_.last_word_element()
                                            : image_.last_byte_element();
}

}  // namespace ecu

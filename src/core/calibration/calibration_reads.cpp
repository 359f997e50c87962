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

}  // namespace

CalibrationReads::CalibrationReads(EcuLink& link, CalibrationImage& image)
    : link_(link), image_(image) {}

bool CalibrationReads::Read(const std::string& command) {
  // In demo mode nobody is asked, and nobody answers either.
  const bool answered = link_.SendCommand(command).answered();
  silent_in_a_row_ = answered ? 0 : silent_in_a_row_ + 1;
  return answered;
}

void CalibrationReads::RefreshHolders(const std::function<bool()>& after_each) {
  answered_.clear();
  for (uint8_t code : kHolderReads) {
    link_.Pause(kReadPause);
    if (Read(Command(code))) {
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
  if (!Read(CellReadCommand(table, index))) {
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

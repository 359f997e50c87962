#include "sim/calibration_memory.h"

namespace ecu::sim {

CalibrationMemory::CalibrationMemory() : table_bytes_(kTableSpaceSize, 0) {}

uint8_t CalibrationMemory::TableByte(int address) const {
  return table_bytes_[address & (kTableSpaceSize - 1)];
}

void CalibrationMemory::SetTableByte(int address, uint8_t value) {
  table_bytes_[address & (kTableSpaceSize - 1)] = value;
}

int CalibrationMemory::Word(int address) const {
  const int a = address & (kWordSpaceSize - 1);
  return word_bytes_[a] + 256 * word_bytes_[a + 1];
}

void CalibrationMemory::SetWord(int address, int value) {
  const int a = address & (kWordSpaceSize - 1);
  word_bytes_[a] = static_cast<uint8_t>(value & 0xFF);
  word_bytes_[a + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

uint8_t CalibrationMemory::PhaseCell(int index) const {
  return phase_cells_[index & (kPhaseCells - 1)];
}

void CalibrationMemory::SetPhaseCell(int index, uint8_t value) {
  phase_cells_[index & (kPhaseCells - 1)] = value;
}

std::optional<int> CalibrationMemory::Scalar(std::string_view key) const {
  const auto it = scalars_.find(key);
  if (it == scalars_.end()) return std::nullopt;
  return it->second;
}

int CalibrationMemory::ScalarOr(std::string_view key, int fallback) const {
  return Scalar(key).value_or(fallback);
}

void CalibrationMemory::SetScalar(std::string_view key, int raw) {
  scalars_.insert_or_assign(std::string(key), raw);
}

}  // namespace ecu::sim

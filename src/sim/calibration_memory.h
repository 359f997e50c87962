#ifndef ECU_SIM_CALIBRATION_MEMORY_H_
#define ECU_SIM_CALIBRATION_MEMORY_H_

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ecu::sim {

// The calibration the virtual ECU keeps, as raw ECU integers: the one-byte
// table cells ("E"/"e", 16-bit addresses), the two-byte table cells
// ("X"/"x", 8-bit addresses), the injection phase table, and the scalar
// constants keyed by their setup-file keys (FS_RPM, MAP_TYPE, ...).
class CalibrationMemory {
 public:
  static constexpr int kTableSpaceSize = 0x10000;
  static constexpr int kWordSpaceSize = 0x100;
  static constexpr int kPhaseCells = 8;

  CalibrationMemory();

  // Addresses wrap to their space, as the ECU only looks at the bytes sent.
  uint8_t TableByte(int address) const;
  void SetTableByte(int address, uint8_t value);

  // The two bytes at address and address + 1, low byte first; odd addresses
  // overlap their neighbours just as in the ECU's memory.
  int Word(int address) const;
  void SetWord(int address, int value);

  uint8_t PhaseCell(int index) const;
  void SetPhaseCell(int index, uint8_t value);

  // A scalar's raw value, or nothing while it has never been set.
  std::optional<int> Scalar(std::string_view key) const;
  int ScalarOr(std::string_view key, int fallback) const;
  void SetScalar(std::string_view key, int raw);

 private:
  std::vector<uint8_t> table_bytes_;
  // One spare byte for the high half of a word at 0xFF.
  std::array<uint8_t, kWordSpaceSize + 1> word_bytes_{};
  std::array<uint8_t, kPhaseCells> phase_cells_{};
  std::map<std::string, int, std::less<>> scalars_;
};

}  // namespace ecu::sim

#endif  // ECU_SIM_CALIBRATION_MEMORY_H_

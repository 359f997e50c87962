#ifndef ECU_CORE_CALIBRATION_CALIBRATION_IMAGE_H_
#define ECU_CORE_CALIBRATION_CALIBRATION_IMAGE_H_

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/calibration/catalogue.h"

namespace ecu {

// The console's small cache of raw calibration values: the scalar holders
// that block reads and write echoes fill, the phase table, and the value of
// the last table element read. Tables are not cached whole; editors keep
// their cells and the setup-file writer streams them.
class CalibrationImage {
 public:
  CalibrationImage();

  // The raw holder of a scalar constant; 0 before any reply and for a key
  // that names no scalar.
  int32_t scalar(std::string_view key) const;
  int32_t scalar(const ScalarItem& item) const;
  // A key that names no scalar is ignored.
  void set_scalar(std::string_view key, int32_t raw);
  void set_scalar(const ScalarItem& item, int32_t raw);

  // The injector phase table, p = 0..7; set by the 127 reply only.
  const std::array<int32_t, 8>& phase_table() const { return phase_table_; }
  void set_phase_entry(int p, int32_t mask);

  int16_t last_byte_element() const { return last_byte_element_; }
  void set_last_byte_element(int16_t value) { last_byte_element_ = value; }
  int32_t last_word_element() const { return last_word_element_; }
  void set_last_word_element(int32_t value) { last_word_element_ = value; }

 private:
  std::vector<int32_t> scalars_;
  std::array<int32_t, 8> phase_table_{};
  int16_t last_byte_element_ = 0;
  int32_t last_word_element_ = 0;
};

}  // namespace ecu

#endif  // ECU_CORE_CALIBRATION_CALIBRATION_IMAGE_H_

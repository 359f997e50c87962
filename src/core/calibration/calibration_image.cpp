#include "core/calibration/calibration_image.h"

namespace ecu {

CalibrationImage::CalibrationImage() : scalars_(AllScalars().size(), 0) {}

int32_t CalibrationImage::scalar(std::string_view key) const {
  const ScalarItem* item = FindScalar(key);
  return item == nullptr ? 0 : scalar(*item);
}

int32_t CalibrationImage::scalar(const ScalarItem& item) const {
  return scalars_[static_cast<size_t>(ScalarIndex(item))];
}

void CalibrationImage::set_scalar(std::string_view key, int32_t raw) {
  if (const ScalarItem* item = FindScalar(key)) set_scalar(*item, raw);
}

void CalibrationImage::set_scalar(const ScalarItem& item, int32_t raw) {
  scalars_[static_cast<size_t>(ScalarIndex(item))] = raw;
}

void CalibrationImage::set_phase_entry(int p, int32_t mask) {
  if (p >= 0 && p < static_cast<int>(phase_table_.size())) {
    phase_table_[static_cast<size_t>(p)] = mask;
  }
}

}  // namespace ecu

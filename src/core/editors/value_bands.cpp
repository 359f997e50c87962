#include "core/editors/value_bands.h"

#include <algorithm>

#include "core/numbers/number_format.h"

namespace ecu {

ValueBands ValueBands::Scan(std::span<const std::optional<double>> values) {
  ValueBands bands;
  for (const std::optional<double>& v : values) {
    if (!v) continue;
    bands.max_ = std::max(bands.max_, *v);
    bands.min_ = std::min(bands.min_, *v);
  }
  return bands;
}

int ValueBands::BoxOf(double value) const {
  const double range = max_ - min_;
  for (int k = 1; k <= 7; ++k) {
    if (value <= min_ + range * k / 8) return 8 - k;
  }
  return 0;
}

std::string ValueBands::LegendText(int box) const {
  const double range = max_ - min_;
  return FormatNumber(min_ + range * (8 - box) / 8, "#.00");
}

}  // namespace ecu

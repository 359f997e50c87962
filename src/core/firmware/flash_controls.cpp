#include "core/firmware/flash_controls.h"

#include <cmath>

#include "core/numbers/leading_number.h"

namespace ecu {

double DelaySeconds(const std::string& text) {
  const double seconds = LeadingNumber(text);
  return std::isfinite(seconds) && seconds > 0 ? seconds : 0.0;
}

}  // namespace ecu

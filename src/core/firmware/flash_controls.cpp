#include "core/firmware/flash_controls.h"

#include <cmath>

#include "core/numbers/leading_number.h"

namespace ecu {

double DelaySeconds(const std::string& text) {
  const double seconds = LeadingNumber(text);
  return std::isfinite(seconds) && seconds > 0 ? seconds : 0.0;
}

double CharDelay(const FlashControls& controls) {
  return controls.char_delay_ticked ? DelaySeconds(controls.char_delay_text)
                                    : 0.0;
}

double LineDelay(const FlashControls& controls) {
  return controls.line_delay_ticked ? DelaySeconds(controls.line_delay_text)
                                    : 0.0;
}

}  // namespace ecu

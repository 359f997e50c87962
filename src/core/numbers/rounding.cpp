#include "core/numbers/rounding.h"

#include <cmath>
#include <limits>

namespace ecu {

int64_t RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kLimit = 9.0e18;
  if (value >= kLimit) return std::numeric_limits<int64_t>::max();
  if (value <= -kLimit) return std::numeric_limits<int64_t>::min();
  // The default floating-point environment rounds to nearest, ties to even.
  return static_cast<int64_t>(std::nearbyint(value));
}

}  // namespace ecu

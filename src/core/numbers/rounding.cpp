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

int64_t RoundHalfEven(__int128 numerator, __int128 denominator) {
  constexpr int64_t kMost = std::numeric_limits<int64_t>::max();
  constexpr int64_t kLeast = std::numeric_limits<int64_t>::min();
  if (denominator == 0) return numerator < 0 ? kLeast : kMost;
  if (denominator < 0) {
    numerator = -numerator;
    denominator = -denominator;
  }
  const bool negative = numerator < 0;
  const __int128 n = negative ? -numerator : numerator;
  __int128 q = n / denominator;
  const __int128 twice_rest = 2 * (n % denominator);
  if (twice_rest > denominator || (twice_rest == denominator && q % 2 == 1)) {
    ++q;
  }
  if (negative) q = -q;
  if (q > kMost) return kMost;
  if (q < kLeast) return kLeast;
  return static_cast<int64_t>(q);
}

}  // namespace ecu

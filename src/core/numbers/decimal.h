#ifndef ECU_CORE_NUMBERS_DECIMAL_H_
#define ECU_CORE_NUMBERS_DECIMAL_H_

#include <cstdint>
#include <optional>

namespace ecu {

// A number as the decimal a tuner typed: mantissa x 10^exponent.
struct Decimal {
  int64_t mantissa = 0;
  int exponent = 0;
};

// The shortest decimal that reads back as `value`: for a number read from
// typed text (up to 15 significant digits) that is the text's own number,
// so 10.5 is 105 x 10^-1 and 0.0008 is 8 x 10^-4 although neither 0.0008
// nor most decimals are exact in binary. Nothing for infinities and NaN.
std::optional<Decimal> ShortestDecimal(double value);

}  // namespace ecu

#endif  // ECU_CORE_NUMBERS_DECIMAL_H_

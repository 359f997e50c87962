#ifndef ECU_CORE_NUMBERS_NUMBER_FORMAT_H_
#define ECU_CORE_NUMBERS_NUMBER_FORMAT_H_

#include <string>
#include <string_view>

namespace ecu {

// Formats a number with a display pattern such as "#.00", "##0.0", "###0" or
// "##.#00": `0` is a required digit, `#` an optional one, a full stop the
// decimal point. The last shown digit is rounded (halves away from zero, on
// the number's decimal form), a negative value gets a leading minus sign, and
// a value that rounds to zero is shown without one. As in the original
// display code, a pattern with a decimal point always shows the point.
std::string FormatNumber(double value, std::string_view pattern);

// The general number-to-text form: a leading space for a value of zero or
// more and "-" for a negative one, no trailing zeros, no leading zero before
// the decimal point, at most `significant_digits` digits, and an exponent
// ("1.5E+08") for very large or small values: 12 -> " 12", -2 -> "-2",
// 0.5 -> " .5".
std::string GeneralText(double value, int significant_digits = 7);

}  // namespace ecu

#endif  // ECU_CORE_NUMBERS_NUMBER_FORMAT_H_

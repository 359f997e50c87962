#ifndef ECU_CORE_NUMBERS_LEADING_NUMBER_H_
#define ECU_CORE_NUMBERS_LEADING_NUMBER_H_

#include <string_view>

namespace ecu {

// The number at the start of a text, read leniently as the editors and the
// setup-file loader read it: an optional sign, digits, an optional decimal
// point with digits and an optional exponent; spaces and tabs anywhere are
// ignored; reading stops at the first other character. A text that does not
// start with a number gives 0.
double LeadingNumber(std::string_view text);

// True when the text (spaces aside) starts with at least one digit, so that
// LeadingNumber reads a number from it rather than falling back to 0.
bool StartsWithNumber(std::string_view text);

}  // namespace ecu

#endif  // ECU_CORE_NUMBERS_LEADING_NUMBER_H_

#ifndef ECU_CORE_NUMBERS_CHECKED_NUMBER_H_
#define ECU_CORE_NUMBERS_CHECKED_NUMBER_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ecu {

// Numbers given where a slip must not pass unnoticed (command lines): the
// whole text must be the number, with no spaces or trailing text, and it
// must lie within [lowest, highest]. Unlike LeadingNumber nothing is taken
// as 0. On failure `problem` says what is wrong, e.g.
// "'1e300' is not a number from 0 to 60".
std::optional<int64_t> CheckedWholeNumber(std::string_view text, int64_t lowest,
                                          int64_t highest,
                                          std::string* problem);
std::optional<double> CheckedDecimalNumber(std::string_view text, double lowest,
                                           double highest,
                                           std::string* problem);

// "1 to 255", "0 to 0.5": a range as the problems above name it.
std::string RangeText(double lowest, double highest);

}  // namespace ecu

#endif  // ECU_CORE_NUMBERS_CHECKED_NUMBER_H_

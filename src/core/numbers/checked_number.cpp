#include "core/numbers/checked_number.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <sstream>

namespace ecu {
namespace {

std::string Refused(std::string_view text, const char* kind, double lowest,
                    double highest) {
  return "'" + std::string(text) + "' is not " + kind + " from " +
         RangeText(lowest, highest);
}

// from_chars takes no "+", and would read "-0x1" or " 1" only in part.
bool PlainNumberText(std::string_view text) {
  return !text.empty() &&
         (std::isdigit(static_cast<unsigned char>(text.front())) != 0 ||
          text.front() == '-' || text.front() == '.');
}

}  // namespace

std::string RangeText(double lowest, double highest) {
  std::ostringstream out;
  out.precision(15);
  out << lowest << " to " << highest;
  return out.str();
}

std::optional<int64_t> CheckedWholeNumber(std::string_view text, int64_t lowest,
                                          int64_t highest,
                                          std::string* problem) {
  int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (!PlainNumberText(text) || error != std::errc() || stop != end ||
      value < lowest || value > highest) {
    *problem = Refused(text, "a whole number", static_cast<double>(lowest),
                       static_cast<double>(highest));
    return std::nullopt;
  }
  return value;
}

std::optional<double> CheckedDecimalNumber(std::string_view text, double lowest,
                                           double highest,
                                           std::string* problem) {
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  // from_chars also reads "inf" and "nan"; neither is in any range.
  if (!PlainNumberText(text) || error != std::errc() || stop != end ||
      !std::isfinite(value) || value < lowest || value > highest) {
    *problem = Refused(text, "a number", lowest, highest);
    return std::nullopt;
  }
  return value;
}

}  // namespace ecu

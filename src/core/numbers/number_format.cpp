#include "core/numbers/number_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ecu {
namespace {

// The decimal digits of a non-negative value, `significant` of them, and the
// position of the decimal point among them (may be negative or beyond them).
struct Decimal {
  std::string digits;
  int point = 0;
};

Decimal ToDecimal(double magnitude, int significant) {
  Decimal result;
  if (magnitude == 0.0) {
    result.digits = "0";
    result.point = 1;
    return result;
  }
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", significant - 1, magnitude);
  std::string text(buffer);
  const size_t e = text.find('e');
  for (size_t i = 0; i < e; ++i) {
    if (text[i] != '.') result.digits.push_back(text[i]);
  }
  result.point = std::atoi(text.c_str() + e + 1) + 1;
  return result;
}

// Rounds the decimal to `decimals` places after the point, halves away from
// zero, and returns the integer digits and exactly `decimals` fraction digits.
void RoundToPlaces(Decimal d, int decimals, std::string* int_part,
                   std::string* frac_part) {
  // Bring the point inside the digit string.
  if (d.point < 0) {
    d.digits.insert(0, static_cast<size_t>(-d.point), '0');
    d.point = 0;
  }
  const int keep = d.point + decimals;
  if (static_cast<int>(d.digits.size()) < keep) {
    d.digits.append(static_cast<size_t>(keep) - d.digits.size(), '0');
  }
  bool round_up = static_cast<int>(d.digits.size()) > keep &&
                  d.digits[static_cast<size_t>(keep)] >= '5';
  d.digits.resize(static_cast<size_t>(keep));
  if (round_up) {
    int i = keep - 1;
    for (; i >= 0; --i) {
      if (d.digits[static_cast<size_t>(i)] == '9') {
        d.digits[static_cast<size_t>(i)] = '0';
      } else {
        ++d.digits[static_cast<size_t>(i)];
        break;
      }
    }
    if (i < 0) {
      d.digits.insert(d.digits.begin(), '1');
      ++d.point;
    }
  }
  *int_part = d.digits.substr(0, static_cast<size_t>(d.point));
  *frac_part = d.digits.substr(static_cast<size_t>(d.point));
  const size_t first = int_part->find_first_not_of('0');
  int_part->erase(0, first == std::string::npos ? int_part->size() : first);
}

}  // namespace

std::string FormatNumber(double value, std::string_view pattern) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Inf" : "-Inf";
  const size_t dot = pattern.find('.');
  const std::string_view int_pattern = pattern.substr(0, dot);
  const std::string_view frac_pattern = dot == std::string_view::npos
                                            ? std::string_view()
                                            : pattern.substr(dot + 1);
  int min_int_digits = 0;
  for (char c : int_pattern) min_int_digits += c == '0';
  const int decimals = static_cast<int>(frac_pattern.size());
  const size_t last_zero = frac_pattern.find_last_of('0');
  const int min_frac_digits =
      last_zero == std::string_view::npos ? 0 : static_cast<int>(last_zero) + 1;

  std::string int_part;
  std::string frac_part;
  RoundToPlaces(ToDecimal(std::fabs(value), 15), decimals, &int_part,
                &frac_part);
  const bool is_zero =
      int_part.empty() && frac_part.find_first_not_of('0') == std::string::npos;
  while (static_cast<int>(frac_part.size()) > min_frac_digits &&
         frac_part.back() == '0') {
    frac_part.pop_back();
  }
  if (static_cast<int>(int_part.size()) < min_int_digits) {
    int_part.insert(0, static_cast<size_t>(min_int_digits) - int_part.size(),
                    '0');
  }
  std::string text = (value < 0 && !is_zero) ? "-" : "";
  text += int_part;
  if (dot != std::string_view::npos) {
    text += '.';
    text += frac_part;
  }
  return text;
}

std::string GeneralText(double value, int significant_digits) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? " Inf" : "-Inf";
  const std::string sign = value < 0 ? "-" : " ";
  if (value == 0.0) return " 0";
  Decimal d = ToDecimal(std::fabs(value), significant_digits);
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
  const int exponent = d.point - 1;
  if (exponent < -5 || exponent >= significant_digits) {
    std::string mantissa = d.digits.substr(0, 1);
    if (d.digits.size() > 1) mantissa += "." + d.digits.substr(1);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "E%c%02d", exponent < 0 ? '-' : '+',
                  std::abs(exponent));
    return sign + mantissa + buffer;
  }
  std::string int_part;
  std::string frac_part;
  if (d.point <= 0) {
    frac_part = std::string(static_cast<size_t>(-d.point), '0') + d.digits;
  } else if (d.point >= static_cast<int>(d.digits.size())) {
    int_part = d.digits +
               std::string(static_cast<size_t>(d.point) - d.digits.size(), '0');
  } else {
    int_part = d.digits.substr(0, static_cast<size_t>(d.point));
    frac_part = d.digits.substr(static_cast<size_t>(d.point));
  }
  return sign + int_part + (frac_part.empty() ? "" : "." + frac_part);
}

}  // namespace ecu

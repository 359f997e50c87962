#include "core/numbers/decimal.h"

#include <charconv>
#include <cmath>

namespace ecu {

std::optional<Decimal> ShortestDecimal(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  char text[32];
  const char* end = std::to_chars(text, text + sizeof text, value).ptr;
  // The forms to_chars gives: "-0.0008", "6562.5", "1e+300", "6.25e-05".
  Decimal d;
  bool negative = false;
  const char* p = text;
  if (p < end && *p == '-') {
    negative = true;
    ++p;
  }
  bool after_point = false;
  for (; p < end && *p != 'e'; ++p) {
    if (*p == '.') {
      after_point = true;
      continue;
    }
    d.mantissa = d.mantissa * 10 + (*p - '0');
    if (after_point) --d.exponent;
  }
  if (p < end) {
    int exponent = 0;
    std::from_chars(p + (p[1] == '+' ? 2 : 1), end, exponent);
    d.exponent += exponent;
  }
  if (negative) d.mantissa = -d.mantissa;
  return d;
}

}  // namespace ecu

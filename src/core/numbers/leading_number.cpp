#include "core/numbers/leading_number.h"

#include <cstdlib>
#include <string>

namespace ecu {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Collects the leading number's characters without blanks, in a form strtod
// accepts. Returns the number of mantissa digits seen.
int CollectNumber(std::string_view text, std::string* out) {
  size_t i = 0;
  auto skip_blanks = [&] {
    while (i < text.size() && IsBlank(text[i])) ++i;
  };
  int mantissa_digits = 0;
  skip_blanks();
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    out->push_back(text[i++]);
  }
  skip_blanks();
  while (i < text.size() && (IsDigit(text[i]) || IsBlank(text[i]))) {
    if (IsDigit(text[i])) {
      out->push_back(text[i]);
      ++mantissa_digits;
    }
    ++i;
  }
  if (i < text.size() && text[i] == '.') {
    out->push_back('.');
    ++i;
    while (i < text.size() && (IsDigit(text[i]) || IsBlank(text[i]))) {
      if (IsDigit(text[i])) {
        out->push_back(text[i]);
        ++mantissa_digits;
      }
      ++i;
    }
  }
  if (mantissa_digits == 0) return 0;
  if (i < text.size() &&
      (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    std::string exponent = "e";
    ++i;
    skip_blanks();
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
      exponent.push_back(text[i++]);
    }
    int exponent_digits = 0;
    while (i < text.size() && (IsDigit(text[i]) || IsBlank(text[i]))) {
      if (IsDigit(text[i])) {
        exponent.push_back(text[i]);
        ++exponent_digits;
      }
      ++i;
    }
    if (exponent_digits > 0) out->append(exponent);
  }
  return mantissa_digits;
}

}  // namespace

double LeadingNumber(std::string_view text) {
  std::string number;
  if (CollectNumber(text, &number) == 0) return 0.0;
  return std::strtod(number.c_str(), nullptr);
}

bool StartsWithNumber(std::string_view text) {
  std::string number;
  return CollectNumber(text, &number) > 0;
}

}  // namespace ecu

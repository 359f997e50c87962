// The number readers and writers every outside text and every shown value
// goes through: the checked parser of the command lines, the lenient reader
// of setup files and entries, half-to-even rounding, and the display
// patterns, whose text must read back as the value it shows.

#include <cmath>
#include <string>
#include <string_view>

#include "core/numbers/checked_number.h"
#include "core/numbers/leading_number.h"
#include "core/numbers/number_format.h"
#include "core/numbers/rounding.h"
#include "fuzz/fuzz_support.h"

namespace {

constexpr std::string_view kPatterns[] = {
    "####0", "###.0", "###0",   "###0.0", "##.##0", "##.000", "##0",  "#.00",
    "#.000", "#0.00", "#0.000", ".##",    "0",      "0.00",   "0.000"};

int DecimalsOf(std::string_view pattern) {
  const size_t dot = pattern.find('.');
  return dot == std::string_view::npos
             ? 0
             : static_cast<int>(pattern.size() - dot - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ecu;
  using namespace ecu::fuzz;
  FuzzedDataProvider in(data, size);
  const int64_t lowest = in.ConsumeIntegral<int32_t>();
  const int64_t highest = lowest + in.ConsumeIntegral<uint32_t>();
  const double value = in.ConsumeFloatingPoint<double>();
  const std::string_view pattern = in.PickValueInArray(kPatterns);
  const std::string text = in.ConsumeRemainingBytesAsString();

  std::string problem;
  if (const auto whole = CheckedWholeNumber(text, lowest, highest, &problem)) {
    Require(*whole >= lowest && *whole <= highest,
            "a whole number out of range");
    Require(CheckedWholeNumber(std::to_string(*whole), lowest, highest,
                               &problem) == *whole,
            "a whole number that does not read back");
  } else {
    Require(!problem.empty(), "a refused number without a reason");
  }
  problem.clear();
  const double low = static_cast<double>(lowest) / 64;
  const double high = static_cast<double>(highest) / 64;
  if (const auto decimal = CheckedDecimalNumber(text, low, high, &problem)) {
    Require(std::isfinite(*decimal) && *decimal >= low && *decimal <= high,
            "a decimal number out of range");
  } else {
    Require(!problem.empty(), "a refused number without a reason");
  }

  const double lenient = LeadingNumber(text);
  Require(!std::isnan(lenient), "the lenient reader gave not-a-number");
  Require(StartsWithNumber(text) || lenient == 0,
          "a number read from a text that holds none");
  const int64_t rounded = RoundHalfEven(lenient);
  Require(std::fabs(lenient) > 9e18 ||
              std::fabs(static_cast<double>(rounded) - lenient) <= 0.5,
          "rounding moved a value by more than a half");

  // Within what the display shows, the text reads back as the value.
  const std::string shown = FormatNumber(value, pattern);
  Require(!shown.empty(), "a value shown as nothing");
  if (std::isfinite(value) && std::fabs(value) < 1e12) {
    const double step = std::pow(10.0, -DecimalsOf(pattern));
    Require(std::fabs(LeadingNumber(shown) - value) <=
                step / 2 + std::fabs(value) * 1e-12,
            "\"" + shown + "\" does not show " + std::to_string(value));
    const std::string general = GeneralText(value);
    Require(
        std::fabs(LeadingNumber(general) - value) <= std::fabs(value) * 1e-6,
        "\"" + general + "\" does not show " + std::to_string(value));
  }
  return 0;
}

#include "core/editors/entry_check.h"

#include <cmath>

#include "core/calibration/scaling.h"
#include "core/numbers/leading_number.h"

namespace ecu {
namespace {

bool Breaks(const LimitRule& rule, double x, bool high) {
  if (rule.action == LimitAction::kNone) return false;
  return high ? x > rule.bound : x < rule.bound;
}

// Applies one rule to `x`; false when the entry is refused.
bool Apply(const LimitRule& rule, bool high, double& x, EntryDecision& d) {
  if (rule.action == LimitAction::kLowByte) {
    x = std::fmod(std::fmod(x, 256.0) + 256.0, 256.0);
    return true;
  }
  if (!Breaks(rule, x, high)) return true;
  switch (rule.action) {
    case LimitAction::kClamp:
      x = rule.bound;
      if (!rule.message.empty()) d.notice = rule.message;
      return true;
    case LimitAction::kRefuse:
      d.refusal = rule.message;
      return false;
    case LimitAction::kReplaceText:
      d.new_text = std::string(rule.text);
      x = LeadingNumber(rule.text);
      if (!rule.message.empty()) d.notice = rule.message;
      return true;
    case LimitAction::kAsk:
      d.question = rule.message;
      return true;
    case LimitAction::kNone:
    case LimitAction::kLowByte:
      break;
  }
  return true;
}

}  // namespace

std::string DoesNotFitMessage(std::string_view label) {
  if (label.empty()) return std::string(kDoesNotFitMessage);
  return "The value for " + std::string(label) +
         " is out of range, it will not be updated";
}

EntryDecision DecideEntry(std::string_view text, Scaling scaling,
                          const EntryLimits& limits, ItemRange range,
                          const LiveData& live, std::string_view label) {
  EntryDecision d;
  double value = LeadingNumber(text);
  if (!Apply(limits.value_low, false, value, d) ||
      !Apply(limits.value_high, true, value, d)) {
    return d;
  }
  double raw = static_cast<double>(ValueToRaw(scaling, value, live));
  if (!Apply(limits.raw_low, false, raw, d) ||
      !Apply(limits.raw_high, true, raw, d)) {
    return d;
  }
  if (raw < range.min || raw > range.max) {
    d.refusal = DoesNotFitMessage(label);
    return d;
  }
  d.raw = static_cast<int32_t>(raw);
  d.send = true;
  return d;
}

}  // namespace ecu

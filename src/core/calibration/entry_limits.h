#ifndef ECU_CORE_CALIBRATION_ENTRY_LIMITS_H_
#define ECU_CORE_CALIBRATION_ENTRY_LIMITS_H_

#include <string_view>

namespace ecu {

// What an editor does with an entry beyond one of an item's bounds.
enum class LimitAction {
  kNone,
  kClamp,        // the entry becomes the bound (with the message, if any)
  kRefuse,       // nothing is sent, the field keeps its change mark; message
  kReplaceText,  // the field's text becomes `text` (message, if any) and the
                 // new text is what gets converted and sent
  kAsk,          // the question in `message` (Yes, No, Cancel); only Yes sends
  kLowByte,      // the raw count is reduced modulo 256 without a message
};

// One bound. A low rule acts on entries strictly below `bound`, a high rule
// on entries strictly above it ("raw 49152 or more" is a high bound of 49151).
struct LimitRule {
  LimitAction action = LimitAction::kNone;
  double bound = 0;
  std::string_view text;
  std::string_view message;
};

// The checks an editor applies when it sends an item: first on the typed
// value, then on the raw count converted from it. Whatever passes must still
// fit the item's width on the wire (ItemRange in catalogue.h).
struct EntryLimits {
  LimitRule value_low;
  LimitRule value_high;
  LimitRule raw_low;
  LimitRule raw_high;
};

constexpr LimitRule Clamp(double bound, std::string_view message = {}) {
  return {LimitAction::kClamp, bound, {}, message};
}
constexpr LimitRule Refuse(double bound, std::string_view message) {
  return {LimitAction::kRefuse, bound, {}, message};
}
constexpr LimitRule ReplaceText(double bound, std::string_view text,
                                std::string_view message = {}) {
  return {LimitAction::kReplaceText, bound, text, message};
}
constexpr LimitRule Ask(double bound, std::string_view question) {
  return {LimitAction::kAsk, bound, {}, question};
}
constexpr LimitRule LowByte() { return {LimitAction::kLowByte, 255, {}, {}}; }

}  // namespace ecu

#endif  // ECU_CORE_CALIBRATION_ENTRY_LIMITS_H_

#ifndef ECU_CORE_EDITORS_ENTRY_CHECK_H_
#define ECU_CORE_EDITORS_ENTRY_CHECK_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/calibration/catalogue.h"
#include "core/link/live_data.h"

namespace ecu {

// What an update does with one typed value.
struct EntryDecision {
  bool send = false;
  int32_t raw = 0;                      // the count to send
  std::optional<std::string> new_text;  // the field's text becomes this
  std::string notice;    // told (OK) before sending: a value that was adjusted
  std::string question;  // asked (Yes/No/Cancel) before sending; only Yes sends
  std::string refusal;   // told when nothing is sent
};

// Refusal of a count that passed the item's own limits but still does not
// fit its width on the wire, for a field without a label.
inline constexpr std::string_view kDoesNotFitMessage =
    "A value has been found that is out of range, it will not be updated";

// The same refusal naming the field by its label: "The value for Accel Min
// PW is out of range, it will not be updated".
std::string DoesNotFitMessage(std::string_view label);

// Checks a typed value against an item's limits, first as a value and then
// as the raw count it converts to (halves to even). Whatever is sent fits
// `range`, whatever the limits say. `label` names the field in a refusal.
EntryDecision DecideEntry(std::string_view text, Scaling scaling,
                          const EntryLimits& limits, ItemRange range,
                          const LiveData& live, std::string_view label = {});

inline EntryDecision DecideEntry(std::string_view text, const TableItem& table,
                                 const LiveData& live,
                                 std::string_view label = {}) {
  return DecideEntry(text, table.scaling, table.limits, RangeOf(table), live,
                     label);
}
inline EntryDecision DecideEntry(std::string_view text, const ScalarItem& item,
                                 const LiveData& live,
                                 std::string_view label = {}) {
  return DecideEntry(text, item.scaling, item.limits, RangeOf(item), live,
                     label);
}

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_ENTRY_CHECK_H_

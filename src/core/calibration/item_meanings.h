#ifndef ECU_CORE_CALIBRATION_ITEM_MEANINGS_H_
#define ECU_CORE_CALIBRATION_ITEM_MEANINGS_H_

#include <string_view>

namespace ecu {

// What a calibration item means to a tuner, for lists that name items by
// their setup key (the compare): a few words with the unit, and whether the
// value is a choice or a set of bits rather than a quantity (a difference
// of two choices means nothing).
struct ItemMeaning {
  std::string_view key;
  std::string_view text;
  bool choice = false;
};

// The meaning of a scalar or table key; an empty text for an unknown key.
ItemMeaning MeaningOf(std::string_view key);

}  // namespace ecu

#endif  // ECU_CORE_CALIBRATION_ITEM_MEANINGS_H_

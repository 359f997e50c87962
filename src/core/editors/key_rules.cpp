#include "core/editors/key_rules.h"

#include <algorithm>

#include "core/numbers/leading_number.h"
#include "core/numbers/number_format.h"

namespace ecu {

std::string NudgedText(const Nudge& nudge, std::string_view text, int direction,
                       const LiveData& live) {
  const double max = nudge.max_is_full_scale_rpm
                         ? static_cast<double>(live.FullScaleRpm)
                         : nudge.max;
  double value = LeadingNumber(text) + direction * nudge.step;
  if (direction > 0) value = std::min(value, max);
  if (direction < 0) value = std::max(value, nudge.min);
  return FormatNumber(value, nudge.format);
}

std::optional<CellRef> ArrowTarget(const CellFamily& family, int index,
                                   EditorKey key) {
  const std::optional<ArrowMove>* rule = nullptr;
  switch (key) {
    case EditorKey::kUp:
      rule = &family.arrows.up;
      break;
    case EditorKey::kDown:
      rule = &family.arrows.down;
      break;
    case EditorKey::kLeft:
      rule = &family.arrows.left;
      break;
    case EditorKey::kRight:
      rule = &family.arrows.right;
      break;
    default:
      return std::nullopt;
  }
  if (!rule->has_value()) return std::nullopt;
  const ArrowMove& move = **rule;
  const int target = index + move.delta;
  if (move.delta != 0 && target >= 0 && target < family.count) {
    return CellRef{family.name, target};
  }
  if (!move.edge_family.empty()) {
    return CellRef{move.edge_family,
                   move.edge_index == kSameIndex ? index : move.edge_index};
  }
  return CellRef{family.name, index};
}

}  // namespace ecu

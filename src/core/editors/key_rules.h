#ifndef ECU_CORE_EDITORS_KEY_RULES_H_
#define ECU_CORE_EDITORS_KEY_RULES_H_

#include <optional>
#include <string>
#include <string_view>

#include "core/editors/cell_family.h"
#include "core/editors/editor_cell.h"
#include "core/link/live_data.h"

namespace ecu {

// The keys the editors react to; every other key edits the text.
enum class EditorKey {
  kEnter,
  kUp,
  kDown,
  kLeft,
  kRight,
  kControl,
  kUndo,  // Ctrl+Z
  kRedo,  // Ctrl+Y, Ctrl+Shift+Z
  kOther
};

struct EditorKeyPress {
  EditorKey key = EditorKey::kOther;
  bool shift = false;
  bool release = false;      // the key went up
  bool auto_repeat = false;  // a repeat of a key held down
};

struct KeyOutcome {
  bool handled = false;            // the key is the editor's, not the text's
  std::optional<CellRef> focus{};  // where the focus goes next
};

// Shift+Up (direction +1) or Shift+Down (-1): the number in the text (0 when
// there is none) moved by the step, held within the family's bounds, in the
// family's format.
std::string NudgedText(const Nudge& nudge, std::string_view text, int direction,
                       const LiveData& live);

// Where a plain arrow key takes the focus from element `index`: the cell
// itself when the focus stays, nothing when the arrow is not the editor's.
std::optional<CellRef> ArrowTarget(const CellFamily& family, int index,
                                   EditorKey key);

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_KEY_RULES_H_

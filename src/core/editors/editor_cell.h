#ifndef ECU_CORE_EDITORS_EDITOR_CELL_H_
#define ECU_CORE_EDITORS_EDITOR_CELL_H_

#include <string>
#include <string_view>

#include "core/editors/editor_colours.h"

namespace ecu {

// One text box of an editor: the value as text, and its state in its
// colours. A yellow background means changed here or not yet read, and only
// such cells are sent by an update. A cell is known once the ECU or the
// user gave it a value; an unknown one is never sent.
struct EditorCell {
  std::string text;
  Rgb background = kChangedMark;
  Rgb text_colour = kPlainText;
  bool known = false;

  bool changed() const { return background == kChangedMark; }
};

// A cell by its control name and element: map_data 17, tps_rpm 0. The name
// points at a family definition that lives as long as the editor.
struct CellRef {
  std::string_view family;
  int index = 0;
  friend bool operator==(const CellRef&, const CellRef&) = default;
};

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_EDITOR_CELL_H_

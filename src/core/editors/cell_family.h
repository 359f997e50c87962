#ifndef ECU_CORE_EDITORS_CELL_FAMILY_H_
#define ECU_CORE_EDITORS_CELL_FAMILY_H_

#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "core/calibration/catalogue.h"

namespace ecu {

// Shift+Up / Shift+Down: the value moves by `step` and is held within
// min..max, then written back in `format`.
struct Nudge {
  double step = 0;
  double min = -std::numeric_limits<double>::infinity();
  double max = std::numeric_limits<double>::infinity();
  std::string_view format;
  // The top is the tachometer's full scale (the TPS cut-in speed), which
  // the configuration block may change at any time.
  bool max_is_full_scale_rpm = false;
};

// Where a plain arrow key takes the focus. The focus moves `delta` cells
// within the family; a move that would leave the family (or a move of
// delta 0) goes to `edge_family` when one is named, else the focus stays.
inline constexpr int kSameIndex = -1;
struct ArrowMove {
  int delta = 0;
  std::string_view edge_family{};
  int edge_index = kSameIndex;  // kSameIndex: the element of the same index
};

// An arrow without a move is not the editor's: it edits the text as usual
// (Left and Right move the text cursor).
struct ArrowKeys {
  std::optional<ArrowMove> up{};
  std::optional<ArrowMove> down{};
  std::optional<ArrowMove> left{};
  std::optional<ArrowMove> right{};
};

// A control array of cells (or a single box) and its rules. Cell i shows
// element i of `table`, or the scalar `scalars[i]`; a family bound to
// neither is not sent by the update.
struct CellFamily {
  std::string_view name;  // control name and board field, "map_data"
  int count = 1;
  const TableItem* table = nullptr;
  std::vector<const ScalarItem*> scalars;
  std::optional<Nudge> nudge;
  bool focus_colours = true;  // light red text while focused
  ArrowKeys arrows;
};

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_CELL_FAMILY_H_

#ifndef ECU_CORE_EDITORS_WIDEST_CELL_TEXT_H_
#define ECU_CORE_EDITORS_WIDEST_CELL_TEXT_H_

#include <string>

#include "core/editors/cell_family.h"
#include "core/link/live_data.h"

namespace ecu {

// The widest text a cell of `family` must be able to show whole: the widest
// value any of its items can hold in the ECU, in the item's pattern, and one
// digit more for an entry typed a decimal finer than the pattern shows (the
// fuel offset shows "-26.214" but takes "-26.2144"); never less than the
// nudge pattern and a digit, or seven digits for a family without a nudge.
std::string WidestCellText(const CellFamily& family, const LiveData& live);

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_WIDEST_CELL_TEXT_H_

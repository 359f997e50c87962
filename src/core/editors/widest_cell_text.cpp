#include "core/editors/widest_cell_text.h"

#include <algorithm>
#include <initializer_list>

#include "core/calibration/scaling.h"

namespace ecu {
namespace {

// Every scaling is monotonic in the raw count, apart from the signed ones,
// which turn over at the middle of their width: the widest value lies at an
// end or beside a turn (1 beside 0 for the reciprocals, which have no value
// at 0).
void Widen(std::string* widest, Scaling scaling, std::string_view format,
           ItemRange range, const LiveData& live) {
  for (int32_t raw : {range.min, range.min + 1, int32_t{127}, int32_t{128},
                      int32_t{32767}, int32_t{32768}, range.max}) {
    if (raw < range.min || raw > range.max) continue;
    const std::string text = DisplayText(scaling, format, raw, live);
    if (text.size() > widest->size()) *widest = text;
  }
}

}  // namespace

std::string WidestCellText(const CellFamily& family, const LiveData& live) {
  std::string widest;
  if (family.table != nullptr) {
    Widen(&widest, family.table->scaling, family.table->format,
          RangeOf(*family.table), live);
  }
  for (const ScalarItem* item : family.scalars) {
    if (item != nullptr) {
      Widen(&widest, item->scaling, item->format, RangeOf(*item), live);
    }
  }
  if (!widest.empty()) widest += '0';
  // Never narrower than the cells have always been: the nudge pattern and a
  // digit to spare, else seven digits.
  const size_t least =
      family.nudge ? std::max<size_t>(4, family.nudge->format.size() + 1) : 7;
  if (widest.size() < least) widest.assign(least, '0');
  return widest;
}

}  // namespace ecu

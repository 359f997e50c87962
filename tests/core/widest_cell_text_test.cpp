#include "core/editors/widest_cell_text.h"

#include <gtest/gtest.h>

#include "core/calibration/catalogue.h"
#include "core/editors/injector_adjustments.h"

namespace ecu {
namespace {

// The room a cell gets: the widest value its items can hold and a digit
// for a finer entry, where that is more than the cells' usual room.
TEST(WidestCellTextTest, LeavesRoomForEveryValueTheEcuCanHold) {
  const LiveData live;
  // The idle adjustment's lowest entry, -26.2144 ms, one more digit than
  // the pattern shows; the nudge pattern alone gave room for seven.
  EXPECT_GE(WidestCellText(InjectorAdjustmentFamily({}), live).size(),
            std::string("-26.2144").size());

  // A signed byte turns over in the middle: -128 is its widest value.
  CellFamily coolant{.name = "cool",
                     .scalars = {FindScalar("COOL_DEG")},
                     .nudge = Nudge{.format = "0"}};
  EXPECT_EQ(WidestCellText(coolant, live), "-1280");

  // A reciprocal has no value at 0 and its widest one beside it (101 / 1,
  // "101.000" in its pattern).
  CellFamily ego{
      .name = "ego", .table = FindTable("EGOM"), .nudge = Nudge{.format = "0"}};
  EXPECT_EQ(WidestCellText(ego, live), "101.0000");

  // No item: the usual room.
  EXPECT_EQ(WidestCellText(CellFamily{}, live), "0000000");
}

}  // namespace
}  // namespace ecu

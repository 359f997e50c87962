#include <gtest/gtest.h>

#include "core/editors/fuel_map_editor.h"
#include "core/editors/key_rules.h"
#include "editor_rig.h"

namespace ecu {
namespace {

using testing::EditorRig;

EditorKeyPress Key(EditorKey key, bool shift = false) {
  return {.key = key, .shift = shift};
}

// The fuel map's families exercise every kind of rule the editors share.
struct KeysRig : EditorRig {
  KeysRig() { editor.Fill(); }
  std::string Nudge(CellRef ref, std::string start, EditorKey key) {
    editor.cells().ReplaceText(ref, std::move(start));
    editor.KeyPressed(ref, Key(key, true));
    return editor.cells().text(ref);
  }
  std::optional<CellRef> Move(CellRef ref, EditorKey key) {
    const KeyOutcome outcome = editor.KeyPressed(ref, Key(key));
    return outcome.handled ? outcome.focus : std::nullopt;
  }
  FuelMapEditor editor{ctx.editors()};
};

TEST(EditorKeysTest, ShiftArrowsNudgeWithinTheFamilyBounds) {
  KeysRig rig;
  const CellRef map{kMapCells, 3};
  EXPECT_EQ(rig.Nudge(map, "", EditorKey::kUp), ".01");
  EXPECT_EQ(rig.Nudge(map, "", EditorKey::kDown), ".00");
  EXPECT_EQ(rig.Nudge(map, "1.00", EditorKey::kUp), "1.01");
  EXPECT_EQ(rig.Nudge(map, "abc", EditorKey::kUp), ".01");
  EXPECT_EQ(rig.Nudge(map, "1.5", EditorKey::kDown), "1.49");
  const CellRef offset{"ecu_pgm", 1};
  EXPECT_EQ(rig.Nudge(offset, "", EditorKey::kDown), "-.100");
  EXPECT_EQ(rig.Nudge(offset, "-15.95", EditorKey::kDown), "-16.000");
  EXPECT_EQ(rig.Nudge(offset, "65.5", EditorKey::kUp), "65.535");
  EXPECT_EQ(rig.Nudge({kTpsPercents, 4}, "99.5", EditorKey::kUp), "100.0");
  EXPECT_EQ(rig.Nudge({kTpsPulseWidths, 0}, "0.05", EditorKey::kDown), ".000");
  EXPECT_TRUE(rig.editor.cells().cell({kTpsPulseWidths, 0}).changed());

  // The cut-in speed stops at the full scale configured now.
  rig.ctx.live.FullScaleRpm = 6000;
  EXPECT_EQ(rig.Nudge({kCutInBox, 0}, "5980", EditorKey::kUp), "6000");
  EXPECT_EQ(rig.Nudge({kCutInBox, 0}, "20", EditorKey::kDown), "0");
}

TEST(EditorKeysTest, PlainArrowsFollowEachFamilysTable) {
  KeysRig rig;
  using K = EditorKey;
  auto at = [](std::string_view family, int index) {
    return std::optional<CellRef>(CellRef{family, index});
  };
  // Up and Down step the index, running on into the next column.
  EXPECT_EQ(rig.Move({kMapCells, 15}, K::kUp), at(kMapCells, 16));
  EXPECT_EQ(rig.Move({kMapCells, 16}, K::kDown), at(kMapCells, 15));
  EXPECT_EQ(rig.Move({kMapCells, 0}, K::kDown), at(kMapCells, 0));
  EXPECT_EQ(rig.Move({kMapCells, 255}, K::kUp), at(kMapCells, 255));
  EXPECT_EQ(rig.Move({kMapCells, 20}, K::kRight), at(kMapCells, 36));
  EXPECT_EQ(rig.Move({kMapCells, 5}, K::kLeft), at(kMapCells, 5));
  EXPECT_EQ(rig.Move({kMapCells, 245}, K::kRight), at(kMapCells, 245));

  EXPECT_EQ(rig.Move({"ecu_pgm", 1}, K::kUp), at("ecu_pgm", 0));
  EXPECT_EQ(rig.Move({"ecu_pgm", 0}, K::kUp), at(kCutInBox, 0));
  EXPECT_EQ(rig.Move({"ecu_pgm", 0}, K::kDown), at("ecu_pgm", 0));
  EXPECT_EQ(rig.Move({kCutInBox, 0}, K::kDown), at("ecu_pgm", 0));
  EXPECT_EQ(rig.Move({kTpsPulseWidths, 6}, K::kDown), at(kTpsPercents, 6));
  EXPECT_EQ(rig.Move({kTpsPercents, 6}, K::kUp), at(kTpsPulseWidths, 6));
  EXPECT_EQ(rig.Move({kTpsPercents, 8}, K::kRight), at(kTpsPercents, 8));
  EXPECT_EQ(rig.Move({kTpsPercents, 8}, K::kLeft), at(kTpsPercents, 7));
  // Left and Right in the single boxes move the text cursor.
  EXPECT_FALSE(rig.editor.KeyPressed({"ecu_pgm", 0}, Key(K::kLeft)).handled);
  EXPECT_FALSE(rig.editor.KeyPressed({kCutInBox, 0}, Key(K::kRight)).handled);
}

}  // namespace
}  // namespace ecu

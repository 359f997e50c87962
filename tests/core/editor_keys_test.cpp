#include <gtest/gtest.h>

#include "core/calibration/catalogue.h"
#include "core/editors/block_modifier.h"
#include "core/editors/fuel_map_editor.h"
#include "core/editors/injector_adjustments.h"
#include "core/editors/key_rules.h"
#include "core/editors/widest_cell_text.h"
#include "editor_rig.h"

namespace ecu {
namespace {

using testing::Texts;

// Basic Mapping filled from the virtual ECU, every cell at 1.00 and white:
// its families exercise every kind of rule the editors share.
struct KeysRig : testing::FuelMapRig {
  KeysRig() { FillFlat(); }
  std::string Nudge(CellRef ref, std::string start, EditorKey key) {
    cells().ReplaceText(ref, std::move(start));
    Key(ref, key, true);
    return cells().text(ref);
  }
  // Ctrl down over `from`, Ctrl up over `to`.
  void Select(int from, int to) {
    editor.KeyPressed({kMapCells, from}, Control(false));
    editor.KeyPressed({kMapCells, to}, Control(true));
  }
  static EditorKeyPress Control(bool release, bool repeat = false) {
    return {
        .key = EditorKey::kControl, .release = release, .auto_repeat = repeat};
  }
  std::vector<int> ChangedCells() {
    std::vector<int> out;
    for (int i = 0; i < kMapCellCount; ++i) {
      if (Cell(kMapCells, i).changed()) out.push_back(i);
    }
    return out;
  }
  const std::string& MapText(int i) { return Text(kMapCells, i); }
  bool Marked(int i) { return Cell(kMapCells, i).changed(); }
  std::string State(int i) { return FuelMapRig::State(kMapCells, i); }
  void Type(int i, const std::string& text) {
    for (size_t n = 1; n <= text.size(); ++n) {
      cells().Edited({kMapCells, i}, text.substr(0, n));
    }
  }
};

TEST(EditorKeysTest, ShiftArrowsNudgeWithinTheFamilyBounds) {
  KeysRig rig;
  const CellRef map{kMapCells, 3};
  EXPECT_EQ(rig.Nudge(map, "", EditorKey::kUp), ".01");
  EXPECT_EQ(rig.Nudge(map, "", EditorKey::kDown), ".00");
  EXPECT_EQ(rig.Nudge(map, "abc", EditorKey::kUp), ".01");
  EXPECT_EQ(rig.Nudge(map, "1.5", EditorKey::kDown), "1.49");
  const CellRef offset{"ecu_pgm", 1};
  EXPECT_EQ(rig.Nudge(offset, "", EditorKey::kDown), "-.100");
  EXPECT_EQ(rig.Nudge(offset, "-15.95", EditorKey::kDown), "-16.000");
  EXPECT_EQ(rig.Nudge(offset, "65.5", EditorKey::kUp), "65.535");
  EXPECT_EQ(rig.Nudge({kTpsPercents, 4}, "99.5", EditorKey::kUp), "100.0");
  EXPECT_EQ(rig.Nudge({kTpsPulseWidths, 0}, "0.05", EditorKey::kDown), ".000");
  EXPECT_TRUE(rig.Cell(kTpsPulseWidths, 0).changed());

  // The cut-in speed stops at the full scale configured now.
  rig.ctx.live.FullScaleRpm = 6000;
  EXPECT_EQ(rig.Nudge({kCutInBox, 0}, "5980", EditorKey::kUp), "6000");
  EXPECT_EQ(rig.Nudge({kCutInBox, 0}, "20", EditorKey::kDown), "0");
}

TEST(EditorKeysTest, PlainArrowsFollowEachFamilysTable) {
  KeysRig rig;
  using enum EditorKey;
  // Up and Down step the index, running on into the next column; Right and
  // Left go a column over, and stop at the edge.
  EXPECT_EQ(rig.Move({kMapCells, 15}, kUp), (CellRef{kMapCells, 16}));
  EXPECT_EQ(rig.Move({kMapCells, 20}, kRight), (CellRef{kMapCells, 36}));
  EXPECT_EQ(rig.Move({kMapCells, 245}, kRight), (CellRef{kMapCells, 245}));
  // The single boxes and the TPS rows lead into each other.
  EXPECT_EQ(rig.Move({"ecu_pgm", 0}, kUp), (CellRef{kCutInBox, 0}));
  EXPECT_EQ(rig.Move({kCutInBox, 0}, kDown), (CellRef{"ecu_pgm", 0}));
  EXPECT_EQ(rig.Move({kTpsPulseWidths, 6}, kDown), (CellRef{kTpsPercents, 6}));
  // Left and Right in the single boxes move the text cursor.
  EXPECT_FALSE(rig.Key({"ecu_pgm", 0}, kLeft).handled);
  EXPECT_FALSE(rig.Key({kCutInBox, 0}, kRight).handled);
}

TEST(BlockSelectionTest, CtrlPressAndReleaseOverTheMapOpenTheModifier) {
  KeysRig rig;
  int shown_changes = 0;
  rig.editor.modifier().set_shown_changed([&] { ++shown_changes; });
  // Not a block: another key with Ctrl (Ctrl+C), or Ctrl pressed elsewhere.
  rig.editor.KeyPressed({kMapCells, 3}, KeysRig::Control(false));
  rig.editor.KeyPressed({kMapCells, 3}, {.key = EditorKey::kOther});
  rig.editor.KeyPressed({kMapCells, 3}, KeysRig::Control(true));
  rig.editor.KeyPressed({kTpsPercents, 0}, KeysRig::Control(false));
  rig.editor.KeyPressed({kMapCells, 0}, KeysRig::Control(true));
  EXPECT_EQ(shown_changes, 0);

  rig.editor.KeyPressed({kMapCells, 17}, KeysRig::Control(false));
  // The held key repeats while the arrows move the focus.
  EXPECT_EQ(rig.Move({kMapCells, 17}, EditorKey::kDown),
            (CellRef{kMapCells, 16}));
  rig.editor.KeyPressed({kMapCells, 16}, KeysRig::Control(false, true));
  rig.editor.KeyPressed({kMapCells, 2}, KeysRig::Control(true));
  EXPECT_EQ(rig.editor.selection().first_corner(), 17);
  EXPECT_EQ(rig.editor.selection().second_corner(), 2);
  EXPECT_TRUE(rig.editor.modifier().shown());
  EXPECT_EQ(shown_changes, 1);
}

TEST(BlockModifierTest, OperationsRewriteTheBlockAfterTheQuestion) {
  KeysRig rig;
  BlockModifier& modifier = rig.editor.modifier();
  rig.Select(17, 2);
  modifier.multiply = "1.5";
  modifier.Press(BlockOperation::kMultiply);  // No is the default answer
  ASSERT_EQ(rig.prompts.shown().size(), 1u);
  const Message& question = rig.prompts.shown()[0];
  EXPECT_EQ(question.title, "CAUTION!");
  EXPECT_EQ(question.text,
            "This operation will modify a group of cells and cannot be "
            "undone. Continue?");
  EXPECT_EQ(question.default_button, 1);
  EXPECT_TRUE(modifier.shown());
  EXPECT_TRUE(rig.ChangedCells().empty());

  rig.prompts.QueueAnswer(Answer::kYes);
  modifier.Press(BlockOperation::kMultiply);
  EXPECT_EQ(rig.ChangedCells(), (std::vector<int>{1, 2, 17, 18}));
  EXPECT_EQ((Texts{rig.MapText(18), rig.MapText(19)}), (Texts{"1.50", "1.00"}));
  EXPECT_FALSE(modifier.shown());
  EXPECT_EQ(modifier.multiply, "1.5");  // hidden, not unloaded

  auto apply = [&](BlockOperation operation) {
    rig.prompts.QueueAnswer(Answer::kYes);
    modifier.Press(operation);
    return rig.MapText(2);
  };
  modifier.add = "0.25";
  EXPECT_EQ(apply(BlockOperation::kAdd), "1.75");
  EXPECT_EQ(apply(BlockOperation::kSubtract), "1.50");
  // Dividing by 0 rewrites each cell with its own value, marking it.
  rig.cells().ShowConfirmed({kMapCells, 1}, "1.5");
  modifier.multiply = "0";
  EXPECT_EQ(apply(BlockOperation::kDivide), "1.50");
  EXPECT_EQ(rig.State(1), "1.50*");
  modifier.set_value = "0.8";
  EXPECT_EQ(apply(BlockOperation::kSetAll), "0.80");
  modifier.multiply = "4";
  EXPECT_EQ(apply(BlockOperation::kDivide), "0.20");
}

TEST(BlockModifierTest, CancelUnloadsAndBadOperandsChangeNothing) {
  KeysRig rig;
  BlockModifier& modifier = rig.editor.modifier();
  rig.Select(0, 0);
  rig.cells().Edited({kMapCells, 0}, "");
  rig.cells().ShowConfirmed({kMapCells, 1}, "1.00");
  modifier.set_value = "abc";
  rig.prompts.Clear();
  modifier.Press(BlockOperation::kSetAll);
  EXPECT_EQ(rig.prompts.texts(), Texts{"The value for this operation is not a "
                                       "number, no cell has been modified"});
  EXPECT_TRUE(modifier.shown());
  modifier.Press(BlockOperation::kCancel);
  EXPECT_FALSE(modifier.shown());
  EXPECT_EQ(modifier.set_value, "1.000");

  // An empty cell in the block is left alone.
  rig.Select(0, 16);
  rig.prompts.QueueAnswer(Answer::kYes);
  modifier.Press(BlockOperation::kSetAll);
  EXPECT_EQ((Texts{rig.MapText(0), rig.MapText(16)}), (Texts{"", "1.00"}));
  EXPECT_TRUE(rig.Cell(kMapCells, 16).changed());
}

TEST(BlockModifierTest, InterpolationMarksTheBlockLikeTheOtherOperations) {
  KeysRig rig;
  BlockModifier& modifier = rig.editor.modifier();
  // Columns 1..3 of row 0: 1.00 at the left edge, 1.60 at the right.
  rig.cells().ShowConfirmed({kMapCells, 16 * 3}, "1.60");
  rig.Select(16, 48);
  modifier.multiply = "not a number";  // shaping takes no operand
  rig.prompts.QueueAnswer(Answer::kYes);
  modifier.Press(BlockOperation::kInterpolateHorizontal);
  EXPECT_EQ(rig.prompts.shown().back().title, "CAUTION!");
  EXPECT_EQ(rig.MapText(32), "1.30");
  EXPECT_EQ(rig.ChangedCells(), (std::vector<int>{16, 32, 48}));
  EXPECT_FALSE(modifier.shown());

  // A spike smoothed within its 3 x 3 neighbourhood.
  rig.cells().ShowConfirmed({kMapCells, 16 * 8 + 8}, "3.00");
  rig.Select(16 * 8 + 8, 16 * 8 + 8);
  rig.prompts.QueueAnswer(Answer::kYes);
  modifier.Press(BlockOperation::kSmooth);
  EXPECT_EQ(rig.MapText(16 * 8 + 8), "1.50");  // (4 x 3 + 12 x 1) / 16
}

// The room a cell gets: the widest value its items can hold and a digit
// for a finer entry, where that is more than the cells' usual room.
TEST(WidestCellTextTest, LeavesRoomForEveryValueTheEcuCanHold) {
  const LiveData live;
  // The idle adjustment's lowest entry, -26.2144 ms, one more digit than
  // the pattern shows; the nudge pattern alone gave room for seven.
  EXPECT_GE(WidestCellText(InjectorAdjustmentFamily({}), live).size(),
            std::string("-26.2144").size());

  // A signed byte turns over in the middle: -128 is its widest value.
  CellFamily coolant;
  coolant.scalars = {FindScalar("COOL_DEG")};
  coolant.nudge = Nudge{.format = "0"};
  EXPECT_EQ(WidestCellText(coolant, live), "-1280");

  // A reciprocal has no value at 0 and its widest one beside it (101 / 1,
  // "101.000" in its pattern).
  CellFamily ego;
  ego.table = FindTable("EGOM");
  ego.nudge = coolant.nudge;
  EXPECT_EQ(WidestCellText(ego, live), "101.0000");

  // No item: the usual room.
  EXPECT_EQ(WidestCellText(CellFamily{}, live), "0000000");
}

TEST(EditorUndoTest, ATypedEntryIsOneStepAndUnsentUndoIsWhiteAgain) {
  KeysRig rig;
  ASSERT_EQ(rig.State(5), "1.00");
  rig.Type(5, "1.25");
  rig.cells().FocusChanged({kMapCells, 5}, false);
  rig.Type(6, "0.9");
  ASSERT_TRUE(rig.Marked(5));
  rig.cells().Undo();
  EXPECT_EQ(rig.State(6), "1.00");  // the ECU still holds 1.00
  EXPECT_EQ(rig.MapText(5), "1.25");
  rig.cells().Undo();
  EXPECT_EQ(rig.State(5), "1.00");
  EXPECT_FALSE(rig.cells().CanUndo());
  rig.cells().Redo();
  EXPECT_EQ(rig.State(5), "1.25*");
  // A new change drops what could have been redone.
  rig.Type(7, "2");
  EXPECT_FALSE(rig.cells().CanRedo());
  EXPECT_TRUE(rig.TakeRequests().empty());  // undo and redo send nothing
  // A fresh read from the ECU starts the history again.
  rig.cells().BeginFill();
  rig.cells().EndFill();
  EXPECT_FALSE(rig.cells().CanUndo());
}

TEST(EditorUndoTest, UndoingASentValueMarksThePreviousOneForTheNextUpdate) {
  KeysRig rig;
  rig.Type(5, "1.25");
  rig.cells().Update();
  ASSERT_EQ(rig.memory().TableByte(0x105), 160);
  ASSERT_FALSE(rig.Marked(5));  // the echo confirmed it
  rig.TakeRequests();
  rig.cells().Undo();
  EXPECT_EQ(rig.State(5), "1.00*");  // the ECU holds 1.25: 1.00 waits
  EXPECT_TRUE(rig.TakeRequests().empty());
  rig.cells().Redo();
  EXPECT_EQ(rig.State(5), "1.25");  // as the ECU holds it
  rig.cells().Undo();
  rig.cells().Update();
  EXPECT_EQ(rig.memory().TableByte(0x105), 128);
  EXPECT_FALSE(rig.Marked(5));

  // A write whose echo never came may still have reached the ECU: undoing
  // it must not show the old value white, as if the ECU surely held it.
  rig.Type(6, "1.25");
  rig.silent_codes = {'e'};
  rig.cells().Update();
  ASSERT_EQ(rig.State(6), "1.25*");
  rig.cells().Undo();
  EXPECT_EQ(rig.State(6), "1.00*");
}

// Block operations are one step as well: see the Basic Mapping window test.
TEST(EditorUndoTest, NudgesResetsAndAppliesAreOneStepEach) {
  KeysRig rig;
  rig.Type(17, "1.50");
  rig.cells().FocusChanged({kMapCells, 17}, false);
  rig.editor.KeyPressed({kMapCells, 40},
                        {.key = EditorKey::kUp, .shift = true});
  ASSERT_EQ(rig.MapText(40), "1.01");
  // Ctrl+Z through the keys, as the window hands them on.
  rig.editor.KeyPressed({kMapCells, 40}, {.key = EditorKey::kUndo});
  EXPECT_EQ(rig.State(40), "1.00");
  EXPECT_EQ(rig.MapText(17), "1.50");
  rig.prompts.QueueAnswer(Answer::kYes);
  ASSERT_TRUE(rig.cells().ConfirmAndReset(kMapCells));
  rig.cells().Undo();
  EXPECT_EQ((Texts{rig.State(17), rig.State(100)}), (Texts{"1.50*", "1.00"}));
  // The map advisor's Apply: every cell it changed comes back at once.
  rig.editor.PutMapTexts({{30, "1.10"}, {31, "0.90"}});
  EXPECT_TRUE(rig.Marked(31));
  rig.cells().Undo();
  EXPECT_EQ(rig.MapText(30), "1.00");
  EXPECT_FALSE(rig.Marked(31));
  EXPECT_EQ(rig.MapText(17), "1.50");  // the reset's undo stays
  EXPECT_TRUE(rig.TakeRequests().empty());
}

}  // namespace
}  // namespace ecu

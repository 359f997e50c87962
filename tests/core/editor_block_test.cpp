#include <gtest/gtest.h>

#include "core/editors/block_modifier.h"
#include "core/editors/fuel_map_editor.h"
#include "editor_rig.h"

namespace ecu {
namespace {

using testing::EditorRig;

EditorKeyPress Control(bool release, bool repeat = false) {
  return {
      .key = EditorKey::kControl, .release = release, .auto_repeat = repeat};
}

struct BlockRig : EditorRig {
  BlockRig() : EditorRig(true) { editor.Activate(); }
  // Ctrl down over `from`, arrows to `to`'s neighbourhood, Ctrl up over `to`.
  void Select(int from, int to) {
    editor.KeyPressed({kMapCells, from}, Control(false));
    editor.KeyPressed({kMapCells, to}, Control(true));
  }
  std::vector<int> ChangedCells() {
    std::vector<int> out;
    for (int i = 0; i < kMapCellCount; ++i) {
      if (editor.cells().cell({kMapCells, i}).changed()) out.push_back(i);
    }
    return out;
  }
  const std::string& Text(int i) { return editor.cells().text({kMapCells, i}); }
  FuelMapEditor editor{ctx.editors()};
};

TEST(BlockSelectionTest, CornersGiveTheBoundsEitherWayRound) {
  const BlockBounds b = BoundsOf(17, 2, 16, 16);
  EXPECT_EQ(b.min_column, 0);
  EXPECT_EQ(b.max_column, 1);
  EXPECT_EQ(b.min_row, 1);
  EXPECT_EQ(b.max_row, 2);
  std::vector<int> inside;
  for (int k = 0; k < 256; ++k) {
    if (InBlock(b, k, 16, 16)) inside.push_back(k);
  }
  EXPECT_EQ(inside, (std::vector<int>{1, 2, 17, 18}));
}

TEST(BlockSelectionTest, CtrlPressAndReleaseOpenTheModifier) {
  BlockRig rig;
  int shown_changes = 0;
  rig.editor.modifier().set_shown_changed([&] { ++shown_changes; });
  rig.editor.KeyPressed({kMapCells, 17}, Control(false));
  // The held key repeats while the arrows move the focus.
  const KeyOutcome moved =
      rig.editor.KeyPressed({kMapCells, 17}, {.key = EditorKey::kDown});
  EXPECT_EQ(moved.focus, (CellRef{kMapCells, 16}));
  rig.editor.KeyPressed({kMapCells, 16}, Control(false, true));
  rig.editor.KeyPressed({kMapCells, 2}, Control(true));
  EXPECT_EQ(rig.editor.selection().first_corner(), 17);
  EXPECT_EQ(rig.editor.selection().second_corner(), 2);
  EXPECT_TRUE(rig.editor.modifier().shown());
  EXPECT_EQ(shown_changes, 1);
}

TEST(BlockSelectionTest, OtherKeysWithCtrlAreNotABlock) {
  BlockRig rig;
  rig.editor.KeyPressed({kMapCells, 3}, Control(false));
  rig.editor.KeyPressed({kMapCells, 3}, {.key = EditorKey::kOther});  // Ctrl+C
  rig.editor.KeyPressed({kMapCells, 3}, Control(true));
  EXPECT_FALSE(rig.editor.modifier().shown());
  // Released over a map cell after pressing it elsewhere.
  rig.editor.KeyPressed({kTpsPercents, 0}, Control(false));
  rig.editor.KeyPressed({kMapCells, 0}, Control(true));
  EXPECT_FALSE(rig.editor.modifier().shown());
}

TEST(BlockModifierTest, OperationsRewriteTheBlockAfterTheQuestion) {
  BlockRig rig;
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
  EXPECT_EQ(rig.Text(18), "1.50");
  EXPECT_EQ(rig.Text(19), "1.00");
  EXPECT_FALSE(modifier.shown());
  EXPECT_EQ(modifier.multiply, "1.5");  // hidden, not unloaded

  auto apply = [&](BlockOperation operation) {
    rig.prompts.QueueAnswer(Answer::kYes);
    modifier.Press(operation);
    return rig.Text(2);
  };
  modifier.add = "0.25";
  EXPECT_EQ(apply(BlockOperation::kAdd), "1.75");
  EXPECT_EQ(apply(BlockOperation::kSubtract), "1.50");
  // Dividing by 0 rewrites each cell with its own value, marking it.
  rig.editor.cells().ShowConfirmed({kMapCells, 1}, "1.5");
  modifier.multiply = "0";
  EXPECT_EQ(apply(BlockOperation::kDivide), "1.50");
  EXPECT_EQ(rig.Text(1), "1.50");
  EXPECT_TRUE(rig.editor.cells().cell({kMapCells, 1}).changed());
  modifier.set_value = "0.8";
  EXPECT_EQ(apply(BlockOperation::kSetAll), "0.80");
  modifier.multiply = "4";
  EXPECT_EQ(apply(BlockOperation::kDivide), "0.20");
}

TEST(BlockModifierTest, CancelUnloadsAndBadOperandsChangeNothing) {
  BlockRig rig;
  BlockModifier& modifier = rig.editor.modifier();
  rig.Select(0, 0);
  rig.editor.cells().Edited({kMapCells, 0}, "");
  rig.editor.cells().ShowConfirmed({kMapCells, 1}, "1.00");
  modifier.set_value = "abc";
  rig.prompts.Clear();
  modifier.Press(BlockOperation::kSetAll);
  EXPECT_EQ(rig.prompts.texts(),
            std::vector<std::string>{"The value for this operation is not a "
                                     "number, no cell has been modified"});
  EXPECT_TRUE(modifier.shown());
  modifier.Press(BlockOperation::kCancel);
  EXPECT_FALSE(modifier.shown());
  EXPECT_EQ(modifier.set_value, "1.000");

  // An empty cell in the block is left alone.
  rig.Select(0, 16);
  rig.prompts.QueueAnswer(Answer::kYes);
  modifier.Press(BlockOperation::kSetAll);
  EXPECT_EQ(rig.Text(0), "");
  EXPECT_EQ(rig.Text(16), "1.00");
  EXPECT_TRUE(rig.editor.cells().cell({kMapCells, 16}).changed());
}

TEST(BlockModifierTest, InterpolationMarksTheBlockLikeTheOtherOperations) {
  BlockRig rig;
  BlockModifier& modifier = rig.editor.modifier();
  // Columns 1..3 of row 0: 1.00 at the left edge, 1.60 at the right.
  rig.editor.cells().ShowConfirmed({kMapCells, 16 * 3}, "1.60");
  rig.Select(16, 48);
  modifier.multiply = "not a number";  // shaping takes no operand
  rig.prompts.QueueAnswer(Answer::kYes);
  modifier.Press(BlockOperation::kInterpolateHorizontal);
  EXPECT_EQ(rig.prompts.shown().back().title, "CAUTION!");
  EXPECT_EQ(rig.Text(32), "1.30");
  EXPECT_EQ(rig.ChangedCells(), (std::vector<int>{16, 32, 48}));
  EXPECT_FALSE(modifier.shown());

  // A spike smoothed within its 3 x 3 neighbourhood.
  rig.editor.cells().ShowConfirmed({kMapCells, 16 * 8 + 8}, "3.00");
  rig.Select(16 * 8 + 8, 16 * 8 + 8);
  rig.prompts.QueueAnswer(Answer::kYes);
  modifier.Press(BlockOperation::kSmooth);
  EXPECT_EQ(rig.Text(16 * 8 + 8), "1.50");  // (4 x 3 + 12 x 1) / 16
}

}  // namespace
}  // namespace ecu

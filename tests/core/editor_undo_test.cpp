#include <gtest/gtest.h>

#include "core/editors/fuel_map_editor.h"
#include "editor_rig.h"

namespace ecu {
namespace {

// Basic Mapping filled from the virtual ECU (every cell 1.00, white).
struct UndoRig : testing::FuelMapRig {
  UndoRig() {
    FillMap(128);
    editor.Activate();
    TakeRequests();
  }
  const std::string& Text(int i) { return FuelMapRig::Text(kMapCells, i); }
  bool Marked(int i) { return Cell(kMapCells, i).changed(); }
  void Type(int i, const std::string& text) {
    for (size_t n = 1; n <= text.size(); ++n) {
      cells().Edited({kMapCells, i}, text.substr(0, n));
    }
  }
};

TEST(EditorUndoTest, ATypedEntryIsOneStepAndUnsentUndoIsWhiteAgain) {
  UndoRig rig;
  ASSERT_EQ(rig.Text(5), "1.00");
  ASSERT_FALSE(rig.Marked(5));
  rig.Type(5, "1.25");
  rig.cells().FocusChanged({kMapCells, 5}, false);
  rig.Type(6, "0.9");
  ASSERT_TRUE(rig.Marked(5));

  rig.cells().Undo();
  EXPECT_EQ(rig.Text(6), "1.00");
  EXPECT_FALSE(rig.Marked(6));  // the ECU still holds 1.00
  EXPECT_EQ(rig.Text(5), "1.25");
  rig.cells().Undo();
  EXPECT_EQ(rig.Text(5), "1.00");
  EXPECT_FALSE(rig.Marked(5));
  EXPECT_FALSE(rig.cells().CanUndo());

  rig.cells().Redo();
  EXPECT_EQ(rig.Text(5), "1.25");
  EXPECT_TRUE(rig.Marked(5));
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
  UndoRig rig;
  rig.Type(5, "1.25");
  rig.cells().Update();
  ASSERT_EQ(rig.memory().TableByte(0x105), 160);
  ASSERT_FALSE(rig.Marked(5));  // the echo confirmed it
  rig.TakeRequests();

  rig.cells().Undo();
  EXPECT_EQ(rig.Text(5), "1.00");
  EXPECT_TRUE(rig.Marked(5));  // the ECU holds 1.25: 1.00 waits for Update
  EXPECT_TRUE(rig.TakeRequests().empty());
  rig.cells().Redo();
  EXPECT_EQ(rig.Text(5), "1.25");
  EXPECT_FALSE(rig.Marked(5));  // as the ECU holds it
  rig.cells().Undo();
  rig.cells().Update();
  EXPECT_EQ(rig.memory().TableByte(0x105), 128);
  EXPECT_FALSE(rig.Marked(5));
}

TEST(EditorUndoTest, BlockOperationsNudgesResetsAndAppliesAreOneStepEach) {
  UndoRig rig;
  rig.Type(0, "1.50");  // before the block: stays when the block goes
  rig.cells().FocusChanged({kMapCells, 0}, false);
  rig.editor.KeyPressed({kMapCells, 17}, {.key = EditorKey::kControl});
  rig.editor.KeyPressed({kMapCells, 2},
                        {.key = EditorKey::kControl, .release = true});
  rig.editor.modifier().multiply = "1.5";
  rig.prompts.QueueAnswer(Answer::kYes);
  rig.editor.modifier().Press(BlockOperation::kMultiply);
  ASSERT_EQ(rig.Text(18), "1.50");
  rig.editor.KeyPressed({kMapCells, 40},
                        {.key = EditorKey::kUp, .shift = true});
  ASSERT_EQ(rig.Text(40), "1.01");

  // Ctrl+Z through the keys, as the window hands them on.
  rig.editor.KeyPressed({kMapCells, 40}, {.key = EditorKey::kUndo});
  EXPECT_EQ(rig.Text(40), "1.00");
  rig.editor.KeyPressed({kMapCells, 40}, {.key = EditorKey::kUndo});
  for (int i : {1, 2, 17, 18}) {
    EXPECT_EQ(rig.Text(i), "1.00") << i;
    EXPECT_FALSE(rig.Marked(i)) << i;
  }
  EXPECT_EQ(rig.Text(0), "1.50");
  EXPECT_TRUE(rig.Marked(0));
  rig.editor.KeyPressed({kMapCells, 40}, {.key = EditorKey::kRedo});
  EXPECT_EQ(rig.Text(17), "1.50");
  EXPECT_TRUE(rig.Marked(17));

  rig.prompts.QueueAnswer(Answer::kYes);
  ASSERT_TRUE(rig.cells().ConfirmAndReset(kMapCells));
  rig.cells().Undo();
  EXPECT_EQ(rig.Text(17), "1.50");
  EXPECT_EQ(rig.Text(100), "1.00");
  EXPECT_FALSE(rig.Marked(100));

  // The map advisor's Apply: every cell it changed comes back at once.
  rig.editor.PutMapTexts({{30, "1.10"}, {31, "0.90"}});
  EXPECT_TRUE(rig.Marked(31));
  rig.cells().Undo();
  EXPECT_EQ(rig.Text(30), "1.00");
  EXPECT_FALSE(rig.Marked(31));
  EXPECT_EQ(rig.Text(17), "1.50");  // the reset's undo stays
  EXPECT_TRUE(rig.TakeRequests().empty());
}

TEST(EditorUndoTest, AnEntryUndoneInACellNeverReadLeavesItUnknown) {
  testing::FuelMapRig rig;
  rig.silent = {0x100 + 7};
  rig.editor.Activate();
  ASSERT_FALSE(rig.Cell(kMapCells, 7).known);
  rig.Type({kMapCells, 7}, "1.25");
  rig.cells().Undo();
  EXPECT_EQ(rig.Text(kMapCells, 7), "");
  EXPECT_FALSE(rig.Cell(kMapCells, 7).known);
  rig.TakeRequests();
  rig.cells().Update();
  EXPECT_TRUE(rig.TakeRequests().empty());
}

}  // namespace
}  // namespace ecu

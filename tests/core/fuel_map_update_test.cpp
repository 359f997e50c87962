#include <gtest/gtest.h>

#include "core/editors/fuel_map_editor.h"
#include "core/link/frame.h"
#include "editor_rig.h"

namespace ecu {
namespace {

using testing::EditorRig;

// A filled fuel map over the stand-in ECU, requests cleared.
struct UpdateRig : EditorRig {
  explicit UpdateRig(bool demo = false) : EditorRig(demo) {
    for (int i = 0; i < kMapCellCount; ++i)
      memory().SetTableByte(0x100 + i, 128);
    editor.Activate();
    TakeRequests();
    prompts.Clear();
  }
  void Type(CellRef ref, const std::string& text) {
    editor.cells().Edited(ref, text);
  }
  void Enter(CellRef ref) {
    editor.KeyPressed(ref, {.key = EditorKey::kEnter});
  }
  FuelMapEditor editor{ctx.editors()};
};

std::string MapWrite(int index, int raw) {
  const int address = 0x100 + index;
  return Command('e', address & 0xFF, address >> 8, raw);
}

TEST(FuelMapUpdateTest, EnterSendsEveryMarkedCellAndTheEchoPaintsItWhite) {
  UpdateRig rig;
  rig.Type({kMapCells, 17}, "1.25");
  rig.Type({kMapCells, 200}, "0.5");
  rig.Enter({kMapCells, 3});
  EXPECT_EQ(rig.TakeRequests(),
            (std::vector<std::string>{MapWrite(17, 160), MapWrite(200, 64)}));
  EXPECT_EQ(rig.editor.cells().text({kMapCells, 17}), "1.25");
  EXPECT_EQ(rig.editor.cells().text({kMapCells, 200}), ".50");
  EXPECT_EQ(rig.editor.cells().cell({kMapCells, 17}).background, kBrightWhite);
  EXPECT_TRUE(rig.prompts.shown().empty());
  // Nothing is marked any more: a second Enter sends nothing.
  rig.Enter({kMapCells, 3});
  EXPECT_TRUE(rig.TakeRequests().empty());
}

TEST(FuelMapUpdateTest, WritesInTheWindowsOrderWithTheirConversions) {
  UpdateRig rig;
  rig.Type({kTpsPulseWidths, 1}, "2");
  rig.Type({kTpsPercents, 1}, "150");  // clamped to 64, no message
  rig.Type({kMapCells, 0}, "1.99");    // 254.72 rounds to 255
  rig.Type({kCutInBox, 0}, "5000");
  rig.Type({"ecu_pgm", 1}, "-26.2144");
  rig.Type({"ecu_pgm", 0}, "8");
  rig.Type({kTpsPulseWidths, 0}, "-1");  // clamped to 0
  rig.editor.cells().Update();
  EXPECT_EQ(rig.TakeRequests(),
            (std::vector<std::string>{
                CommandWithWord('m', 5000), CommandWithWord('o', 0),
                CommandWithWord('z', 512), MapWrite(0, 255),
                Command('x', 0xB4, 0, 0), Command('e', 0xC7, 0, 64),
                Command('x', 0xB6, 1250 & 0xFF, 1250 >> 8)}));
  EXPECT_TRUE(rig.prompts.shown().empty());
  EXPECT_EQ(rig.editor.cells().text({kTpsPercents, 1}), "100.0");
}

TEST(FuelMapUpdateTest, RefusedValuesKeepTheirMarkAndTheRestIsSent) {
  UpdateRig rig;
  rig.Type({"ecu_pgm", 0}, "104.9");  // a count beyond 16 bits
  rig.Type({"ecu_pgm", 1}, "52.4288");
  rig.Type({kCutInBox, 0}, "10006");
  rig.Type({kMapCells, 5}, "2");
  rig.Type({kMapCells, 6}, "-0.01");
  rig.Type({kMapCells, 7}, "1");
  rig.editor.cells().Update();
  EXPECT_EQ(rig.TakeRequests(), std::vector<std::string>{MapWrite(7, 128)});
  EXPECT_EQ(
      rig.prompts.texts(),
      (std::vector<std::string>{
          "The value for the Fuel Scaler is too high, it will not be updated",
          "The value for the Fuel Offset is too high, it will not be updated",
          "The value for the TPS Map cut-in RPM was too high, it will not be "
          "updated",
          "A MAP Gain cell has been found that is too high, it will not be "
          "updated",
          "A MAP Gain cell has been found that is negative, it will not be "
          "updated"}));
  for (CellRef ref : {CellRef{"ecu_pgm", 0}, CellRef{"ecu_pgm", 1},
                      CellRef{kCutInBox, 0}, CellRef{kMapCells, 5}}) {
    EXPECT_TRUE(rig.editor.cells().cell(ref).changed()) << ref.family;
  }
  EXPECT_FALSE(rig.editor.cells().cell({kMapCells, 7}).changed());

  rig.prompts.Clear();
  rig.Type({"ecu_pgm", 0}, "-0.01");
  rig.Type({"ecu_pgm", 1}, "-26.22");
  rig.Type({kCutInBox, 0}, "-300");  // not silently sent as 0
  rig.editor.cells().Update();
  EXPECT_TRUE(rig.TakeRequests().empty());
  // The map cells still marked follow.
  std::vector<std::string> told = rig.prompts.texts();
  told.resize(3);
  EXPECT_EQ(
      told,
      (std::vector<std::string>{
          "The value for the Fuel Scaler is negative, it will not be updated",
          "The value for the Fuel Offset is too negative, it will not be "
          "updated",
          "The value for the TPS Map cut-in RPM is negative, it will not be "
          "updated"}));
  EXPECT_TRUE(rig.editor.cells().cell({kCutInBox, 0}).changed());
}

TEST(FuelMapUpdateTest, CellsWithoutANumberAreNeverWritten) {
  UpdateRig rig;
  rig.editor.cells().MarkUnread(kMapCells, true);  // as if nothing came back
  rig.Type({kMapCells, 1}, "abc");
  rig.Type({kMapCells, 2}, "x1");
  rig.Type({kMapCells, 3}, " 1.5");
  rig.editor.cells().Update();
  EXPECT_EQ(rig.TakeRequests(), std::vector<std::string>{MapWrite(3, 192)});
  // One message for the pass, however many such cells.
  EXPECT_EQ(rig.prompts.texts(),
            std::vector<std::string>{"A cell that does not hold a number has "
                                     "been found, it will not be updated"});
  EXPECT_TRUE(rig.editor.cells().cell({kMapCells, 1}).changed());
}

TEST(FuelMapUpdateTest, ResetAsksFirstAndSendsNothing) {
  UpdateRig rig;
  rig.editor.RequestReset();
  ASSERT_EQ(rig.prompts.shown().size(), 1u);
  const Message& question = rig.prompts.shown()[0];
  EXPECT_EQ(question.title, "CAUTION!");
  EXPECT_EQ(question.text, "this function will overwrite the table, continue?");
  EXPECT_EQ(question.buttons, Buttons::kYesNo);
  EXPECT_EQ(question.icon, Icon::kExclamation);
  EXPECT_EQ(question.default_button, 1);
  EXPECT_FALSE(rig.editor.cells().cell({kMapCells, 0}).changed());

  rig.editor.cells().ShowConfirmed({kMapCells, 4}, "1.56");
  rig.prompts.QueueAnswer(Answer::kYes);
  rig.editor.RequestReset();
  for (int i = 0; i < kMapCellCount; ++i) {
    ASSERT_EQ(rig.editor.cells().text({kMapCells, i}), "1.00");
    ASSERT_TRUE(rig.editor.cells().cell({kMapCells, i}).changed());
  }
  EXPECT_FALSE(rig.editor.cells().cell({"ecu_pgm", 0}).changed());
  EXPECT_TRUE(rig.TakeRequests().empty());
}

TEST(FuelMapUpdateTest, AnUpdateAskedForMidTransactionWaitsForIt) {
  UpdateRig rig;
  rig.answered.clear();  // the live frame too
  rig.Type({kMapCells, 1}, "1.5");
  rig.DuringLiveRequest([&] { rig.Enter({kMapCells, 1}); });
  EXPECT_TRUE(rig.TakeRequests().empty());
  rig.ctx.link.RunDeferred();
  EXPECT_EQ(rig.TakeRequests(), std::vector<std::string>{MapWrite(1, 192)});
}

TEST(FuelMapUpdateTest, DemoModeSendsNothingAndTheMarksStay) {
  UpdateRig rig(true);
  EXPECT_EQ(rig.editor.cells().text({"ecu_pgm", 1}), "-.525");
  rig.Type({kMapCells, 1}, "1.5");
  rig.editor.cells().Update();
  EXPECT_TRUE(rig.port.written().empty());
  EXPECT_TRUE(rig.editor.cells().cell({kMapCells, 1}).changed());
}

}  // namespace
}  // namespace ecu

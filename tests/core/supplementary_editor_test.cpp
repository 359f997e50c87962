#include "core/editors/supplementary_editor.h"

#include <gtest/gtest.h>

#include "core/editors/axis_pointer.h"
#include "core/link/frame.h"
#include "editor_rig.h"

namespace ecu {
namespace {

using testing::EditorRig;
using Labels = std::vector<std::string>;

// "Supplimental Driver Mapping" over the virtual ECU, filled.
struct SupplementaryRig : EditorRig {
  explicit SupplementaryRig(bool demo = false)
      : EditorRig(sim::SimOptions{}, demo) {
    memory().SetScalar("SUPP_SRC", 0);
    memory().SetScalar("COOL_DEG", 246);
    memory().SetWord(0xA2 + 16, 16383);
    editor.Activate();
  }
  const EditorCell& Cell(std::string_view family, int i) {
    return editor.cells().cell({family, i});
  }
  void Type(std::string_view family, int i, const std::string& text) {
    editor.cells().Edited({family, i}, text);
  }
  const SourceSelector& source() { return editor.source(); }
  SupplementaryEditor editor{ctx.editors()};
};

std::string DutyWrite(int k, int count) {
  return Command('x', 0xA2 + 2 * k, count & 0xFF, count >> 8);
}

TEST(SupplementaryEditorTest, FillReadsSourceThenPointsThenThreshold) {
  SupplementaryRig rig;
  std::vector<std::string> expected = {"[000"};
  for (int k = 0; k < kSupplementaryPoints; ++k) {
    expected.push_back(Command('X', 0xA2 + 2 * k, 0, 0));
  }
  // A read of its own pads its request as every read does.
  expected.push_back(std::string(1, static_cast<char>(153)) + "000");
  EXPECT_EQ(rig.TakeRequests(), expected);
  EXPECT_EQ(rig.Cell(kDutyCells, 8).text, "100.00");
  EXPECT_EQ(rig.Cell(kDutyCells, 0).text, "0.00");
  EXPECT_EQ(rig.Cell(kCoolantThreshold, 0).text, "-10");
  EXPECT_FALSE(rig.Cell(kCoolantThreshold, 0).changed());
  EXPECT_EQ(rig.source().selected, 0);
  EXPECT_EQ(rig.source().m_src, "0");
  for (Rgb colour : rig.source().text_colours) EXPECT_EQ(colour, kBlack);
  EXPECT_EQ(rig.source().source_units, "MAP kPa");
  EXPECT_EQ(rig.source().labels,
            (Labels{"10", "24", "38", "53", "67", "81", "96", "110", "125"}));
  EXPECT_TRUE(rig.editor.cells().enabled());
}

TEST(SupplementaryEditorTest, UpdateSendsPointsThenTheLastSourceThenThreshold) {
  SupplementaryRig rig;
  rig.TakeRequests();
  rig.Type(kCoolantThreshold, 0, "-10.4");
  rig.editor.ChooseSource(2);
  rig.editor.ChooseSource(3);
  rig.Type(kDutyCells, 4, "150");
  rig.Type(kDutyCells, 1, "100");
  rig.Type(kDutyCells, 2, "-5");
  rig.Type(kDutyCells, 3, "12.5");
  // Only the last choice carries the mark.
  const std::array<Rgb, kSourceCount>& colours = rig.source().text_colours;
  EXPECT_EQ(colours[3], kYellow);
  EXPECT_EQ(colours[2], kBlack);
  EXPECT_EQ(rig.source().m_src, "3");
  rig.editor.KeyPressed({kDutyCells, 0}, {.key = EditorKey::kEnter});
  EXPECT_EQ(rig.TakeRequests(),
            (std::vector<std::string>{DutyWrite(1, 16383), DutyWrite(2, 0),
                                      DutyWrite(3, 2048), DutyWrite(4, 16383),
                                      Command(']', 3, 0, 0),
                                      Command(154, 246, 0, 0)}));
  EXPECT_TRUE(rig.prompts.shown().empty());
  // The echoes confirm each of them.
  EXPECT_EQ(rig.Cell(kDutyCells, 4).text, "100.00");
  EXPECT_EQ(rig.Cell(kCoolantThreshold, 0).text, "-10");
  EXPECT_FALSE(rig.Cell(kCoolantThreshold, 0).changed());
  EXPECT_EQ(rig.source().selected, 3);
  EXPECT_EQ(colours[3], kBlack);
  EXPECT_EQ(rig.memory().Scalar("SUPP_SRC"), 3);
  rig.editor.Update();
  EXPECT_TRUE(rig.TakeRequests().empty());
}

TEST(SupplementaryEditorTest, AThresholdBeyondASignedByteIsRefused) {
  SupplementaryRig rig;
  rig.TakeRequests();
  for (const char* text : {"128", "-129", "127.6"}) {
    rig.prompts.Clear();
    rig.Type(kCoolantThreshold, 0, text);
    rig.editor.Update();
    EXPECT_TRUE(rig.TakeRequests().empty()) << text;
    EXPECT_EQ(rig.prompts.texts(),
              std::vector<std::string>{"The value for the Coolant Threshold "
                                       "is out of range, it will not be "
                                       "updated"})
        << text;
    EXPECT_TRUE(rig.Cell(kCoolantThreshold, 0).changed()) << text;
  }
  rig.Type(kCoolantThreshold, 0, "-128");
  rig.editor.Update();
  EXPECT_EQ(rig.TakeRequests(),
            std::vector<std::string>{Command(154, 128, 0, 0)});
  EXPECT_EQ(rig.Cell(kCoolantThreshold, 0).text, "-128");
}

TEST(SupplementaryEditorTest, AnUnreadSourceIsNeverWritten) {
  // The stand-in ECU knows the duty points but not the source or threshold.
  EditorRig rig;
  SupplementaryEditor editor(rig.ctx.editors());
  editor.Activate();
  for (Rgb colour : editor.source().text_colours) EXPECT_EQ(colour, kYellow);
  EXPECT_FALSE(editor.source().selected.has_value());
  EXPECT_EQ(editor.source().m_src, "4");
  EXPECT_EQ(editor.source().source_units, "No Map Source");
  rig.TakeRequests();
  rig.prompts.Clear();
  editor.cells().Edited({kDutyCells, 0}, "50");
  editor.Update();
  EXPECT_EQ(rig.TakeRequests(), std::vector<std::string>{DutyWrite(0, 8192)});
  EXPECT_TRUE(rig.prompts.shown().empty());
}

TEST(SupplementaryEditorTest, AFillWaitingForTheLinkIsDroppedByTheCloseBox) {
  SupplementaryRig rig;
  rig.TakeRequests();
  rig.DuringLiveRequest([&] {
    rig.editor.Activate();
    rig.editor.Discard();
  });
  rig.ctx.link.RunDeferred();
  EXPECT_TRUE(rig.TakeRequests().empty());
}

TEST(SupplementaryEditorTest, TheAxisFollowsTheChosenSource) {
  SupplementaryRig rig;
  rig.editor.ChooseSource(4);
  EXPECT_EQ(rig.source().labels, Labels(9, "0"));
  EXPECT_EQ(rig.source().source_units, "No Map Source");
  rig.editor.ChooseSource(1);
  EXPECT_EQ(rig.source().labels,
            (Labels{"0", "12", "25", "37", "50", "62", "75", "87", "100"}));
  EXPECT_EQ(rig.source().source_units, "TPS %");
  rig.editor.ChooseSource(2);
  EXPECT_EQ(rig.source().labels[3], "3750");
  EXPECT_EQ(rig.source().source_units, "RPM");
  rig.editor.ChooseSource(3);
  EXPECT_EQ(rig.source().source_units, "AUX Volts %5v");
  rig.editor.ChooseSource(5);
  EXPECT_EQ(rig.source().labels, Labels(9, "0"));
  EXPECT_EQ(rig.source().source_units, "No Map Source");
}

TEST(SupplementaryEditorTest, ThePointerFollowsTheLiveValueOfTheSource) {
  SupplementaryRig rig;
  LiveData& live = rig.ctx.live;
  live.MAP = 96.25f;  // three quarters of 115 kPa above 10
  live.TPS = 25;
  live.RPM = 5000;
  live.AuxVolts = 3.3f;
  const AxisPointer axis;
  auto at = [&] { return axis.PositionFor(*rig.editor.pointer(), 300, 100); };
  EXPECT_FALSE(rig.editor.pointer().has_value());
  rig.editor.AfterPollingPass();
  EXPECT_EQ(at(), 150);
  rig.editor.ChooseSource(1);
  rig.editor.AfterPollingPass();
  EXPECT_EQ(at(), 250);
  rig.editor.ChooseSource(2);
  rig.editor.AfterPollingPass();
  EXPECT_EQ(at(), 200);
  rig.editor.ChooseSource(3);
  rig.editor.AfterPollingPass();
  EXPECT_EQ(at(), 100);
  // Without a map the pointer stays where it was.
  rig.editor.ChooseSource(5);
  live.AuxVolts = 0;
  rig.editor.AfterPollingPass();
  EXPECT_EQ(at(), 100);
}

TEST(SupplementaryEditorTest, DemoShowsItsTextsAndTheTpsSource) {
  SupplementaryRig rig(true);
  EXPECT_TRUE(rig.port.written().empty());
  EXPECT_EQ(rig.Cell(kDutyCells, 0).text, "0.000");
  EXPECT_EQ(rig.Cell(kCoolantThreshold, 0).text, "93");
  EXPECT_FALSE(rig.Cell(kCoolantThreshold, 0).changed());
  EXPECT_EQ(rig.source().selected, 1);
  EXPECT_EQ(rig.source().m_src, "1");
  EXPECT_EQ(rig.source().source_units, "TPS %");
}

}  // namespace
}  // namespace ecu

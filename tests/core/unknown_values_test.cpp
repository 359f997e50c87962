// A value whose read failed is unknown: shown empty (or as no choice), never
// sent unless the user enters one, and the window says so once.

#include <gmock/gmock.h>

#include "core/editors/curve_editor.h"
#include "core/editors/fuel_map_editor.h"
#include "core/editors/value_bands.h"
#include "core/link/frame.h"
#include "editor_rig.h"

namespace ecu {
namespace {

using testing::ConfigurationRig;
using ::testing::ElementsAre;
using testing::ScriptedPrompts;
using ::testing::StartsWith;
using testing::Texts;

// The questions that offered to read unknown values again.
Texts ReadAgainOffers(const ScriptedPrompts& prompts) {
  Texts offers;
  for (const Message& m : prompts.shown()) {
    if (m.buttons == Buttons::kYesNo &&
        m.text.find("could not be read from the ECU") != std::string::npos) {
      offers.push_back(m.text);
    }
  }
  return offers;
}

TEST(UnknownValuesTest, PhaseRowsWhoseReadFailedAreNeverSentAsZero) {
  ConfigurationRig rig;
  rig.silent_codes = {127};
  rig.editor.Activate();
  const ConfigurationSwitches& switches = rig.editor.switches();
  for (int p = 0; p < kPhaseRows; ++p) {
    EXPECT_FALSE(switches.row_known(p)) << p;
    EXPECT_FALSE(switches.state({kPhaseRowNames[p], 0}).known) << p;
  }
  EXPECT_EQ(ReadAgainOffers(rig.prompts),
            Texts{"8 values could not be read from the ECU. They are shown "
                  "empty and will not be sent unless you enter them.\n"
                  "Read them again now?"});
  rig.seen.clear();
  // Another field changed: the phase table is left as the ECU has it.
  EXPECT_THAT(rig.Sent({{"max_rpm", "5000"}}), ElementsAre(StartsWith("i")));
  EXPECT_EQ(rig.ecu.memory().PhaseCell(0), 1);

  // A box ticked in an unknown row makes that row what the user sees.
  rig.editor.Click({"inj_ph_3", 5});
  EXPECT_TRUE(switches.row_known(3));
  EXPECT_TRUE(switches.state({"inj_ph_3", 5}).on);
  EXPECT_FALSE(switches.state({"inj_ph_3", 3}).on);
  EXPECT_EQ(rig.Sent(), Texts{Command(128, 3, 32, 0)});
}

TEST(UnknownValuesTest, OptionsAreNotSentWhileAnyOfTheirBitsIsUnknown) {
  ConfigurationRig rig;
  rig.ecu.memory().SetScalar("OPTIONS", 1 | 4);
  rig.silent_codes = {'C'};
  rig.editor.Activate();
  ConfigurationSwitches& switches = rig.editor.switches();
  EXPECT_FALSE(switches.state({kTpsMapped}).known);
  EXPECT_FALSE(switches.state({kSpecialConfig, 0}).on);
  EXPECT_FALSE(switches.state({kSpecialConfig, 1}).on);
  for (int k = 0; k < kMapTypes; ++k) {
    EXPECT_FALSE(switches.state({kMapType, k}).on) << k;
  }
  // Every field of the configuration block is empty, not a stale 0.
  EXPECT_EQ(rig.Field("max_rpm").text + rig.Field("full_scale_rpm").text, "");
  EXPECT_EQ(ReadAgainOffers(rig.prompts).size(), 1u);
  rig.seen.clear();
  rig.prompts.Clear();

  rig.editor.Click({kMapAccel});
  EXPECT_TRUE(rig.Sent().empty());
  EXPECT_EQ(rig.Scalar("OPTIONS"), 1 | 4);
  EXPECT_EQ(rig.prompts.texts(),
            Texts{"The Options could not be read from the ECU, they will not "
                  "be updated until the window has read them"});
  EXPECT_EQ(switches.state({kMapAccel}).text, kYellow);

  // Read again: the choice made meanwhile goes out with the ECU's bits.
  rig.silent_codes.clear();
  rig.editor.Activate();
  EXPECT_TRUE(switches.state({kTpsMapped}).known);
  rig.editor.Click({kMapAccel});
  rig.editor.Update();
  EXPECT_EQ(rig.Scalar("OPTIONS"), 1 | 2 | 4);
}

TEST(UnknownValuesTest, AFieldReadAgainWithoutAnswerIsEmptiedNotResent) {
  ConfigurationRig rig;
  rig.Fill();
  ASSERT_FALSE(rig.Field("decel_tps_value").text.empty());
  rig.silent_codes = {229};
  rig.ecu.memory().SetScalar("TPS_DECL", 40);
  rig.editor.Activate();
  EXPECT_THAT(rig.prompts.texts()[0], StartsWith("Warning, comm non-response"));
  EXPECT_EQ(rig.State("decel_tps_value"), "*");
  EXPECT_FALSE(rig.Field("tps_open_loop_val").changed());
  EXPECT_THAT(
      ReadAgainOffers(rig.prompts),
      ElementsAre(StartsWith("1 value could not be read from the ECU. It")));
  rig.seen.clear();
  EXPECT_EQ(rig.Sent({{"ego_rate", "20"}}), Texts{CommandWithByte('c', 20)});
  EXPECT_EQ(rig.Scalar("TPS_DECL"), 40);
}

TEST(UnknownValuesTest, YesReadsTheWindowAgain) {
  ConfigurationRig rig;
  rig.silent_codes = {127};
  rig.prompts.QueueAnswer(Answer::kYes);
  rig.prompts.set_on_show([&](const Message& m) {
    if (m.buttons == Buttons::kYesNo) rig.silent_codes.clear();
  });
  rig.editor.Activate();
  EXPECT_EQ(ReadAgainOffers(rig.prompts).size(), 1u);
  for (int p = 0; p < kPhaseRows; ++p) {
    EXPECT_TRUE(rig.editor.switches().row_known(p)) << p;
  }
  EXPECT_TRUE(rig.editor.enabled());
}

TEST(UnknownValuesTest, CurveCellsReadAgainWithoutAnswerAreNotResent) {
  testing::CellsRig<CurveEditor> rig;
  rig.editor.Activate();
  ASSERT_FALSE(rig.Text(kCoolantGains, 2).empty());
  rig.silent = {0x070 + 2};
  rig.editor.Activate();
  EXPECT_EQ(rig.Text(kCoolantGains, 2), "");
  EXPECT_EQ(ReadAgainOffers(rig.prompts).size(), 1u);
  rig.TakeRequests();
  EXPECT_TRUE(rig.Sent().empty());
}

TEST(UnknownValuesTest, FuelMapReadsItsUnknownCellsOnTheNextActivation) {
  testing::FuelMapRig rig;
  rig.FillMap(128);
  rig.memory().SetTableByte(0x100 + 1, 255);
  rig.silent = {0x100 + 7, 0xB4 + 2};
  rig.editor.Activate();
  EXPECT_EQ(rig.Text(kMapCells, 7), "");
  EXPECT_TRUE(rig.Cell(kTpsPulseWidths, 1).changed());
  // The empty cell does not drag the bands' bottom to 0.
  EXPECT_EQ(rig.Cell(kMapCells, 0).background, kBandColours[7]);
  // The two non-responses, then one offer to read them again.
  ASSERT_EQ(rig.prompts.shown().size(), 3u);
  EXPECT_EQ(ReadAgainOffers(rig.prompts).size(), 1u);
  EXPECT_EQ(rig.prompts.texts()[2].substr(0, 40),
            "2 values could not be read from the ECU.");
  // An entry undone leaves the cell unknown, and unsent.
  rig.Type({kMapCells, 7}, "1.25");
  rig.cells().Undo();
  EXPECT_EQ(rig.Text(kMapCells, 7), "");
  EXPECT_FALSE(rig.Cell(kMapCells, 7).known);
  rig.TakeRequests();
  EXPECT_TRUE(rig.Sent().empty());
  rig.Type({kMapCells, 9}, "2.00");
  rig.editor.Hidden();
  rig.silent.clear();
  rig.editor.Activate();
  // Only the unknown cells are read; the edit is kept.
  EXPECT_EQ(rig.TakeRequests(),
            (Texts{testing::ByteRead(0x107), Command('X', 0xB6, 0, 0)}));
  EXPECT_EQ(rig.State(kMapCells, 7), "1.00");
  EXPECT_EQ(rig.State(kMapCells, 9), "2.00*");
}

}  // namespace
}  // namespace ecu

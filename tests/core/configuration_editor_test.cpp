#include <gmock/gmock.h>

#include "core/calibration/scaling.h"
#include "core/editors/configuration_fields.h"
#include "core/editors/configuration_layout.h"
#include "core/editors/entry_check.h"
#include "editor_rig.h"

namespace ecu {
namespace {

using testing::ConfigurationRig;
using ::testing::Each;
using ::testing::EndsWith;
using ::testing::Not;
using Requests = testing::Texts;

constexpr double kByteTime = testing::VirtualLinePort::kByteSeconds;

TEST(ConfigurationFillTest, ReadsEveryItemInOrderAndShowsWhatTheEcuHolds) {
  ConfigurationRig rig(false, {.seed = 7, .random_calibration = true});
  const double start = rig.clock.now();
  rig.editor.Activate();
  const std::vector<uint8_t> codes = {
      'C', 'B', '@', '!', '%', '^', 'U', 'V', 'S', 'T', 'W', 127, 132, 134,
      136, 138, 140, 142, 144, 146, 148, 150, 208, 212, 229, 227, 231, 233};
  ASSERT_EQ(rig.seen.size(), codes.size());
  // 0.2 s before the first request, 0.1 s after each reply.
  EXPECT_NEAR(rig.seen[0].at - start, 0.2 + 8 * kByteTime, 1e-6);
  for (size_t i = 0; i < codes.size(); ++i) {
    EXPECT_EQ(rig.seen[i].field, Command(codes[i], '0', '0', '0')) << i;
    if (i == 0) continue;
    const int reply = rig.ctx.replies.LengthOf(codes[i - 1]) + 2;
    EXPECT_NEAR(rig.seen[i].at - rig.seen[i - 1].at,
                (reply + 8) * kByteTime + 0.1, 2e-3)
        << i;
  }
  EXPECT_TRUE(rig.prompts.shown().empty());
  EXPECT_TRUE(rig.editor.enabled());
  // Every control shows what the ECU holds, confirmed.
  for (const CellFamily& family : rig.editor.fields().families()) {
    EXPECT_EQ(rig.Field(family.name).background, kBrightWhite) << family.name;
  }
  const ConfigurationSwitches& switches = rig.editor.switches();
  const int options_byte = rig.Scalar("OPTIONS");
  EXPECT_EQ(switches.state({kTpsMapped}).on, (options_byte & 1) != 0);
  EXPECT_EQ(switches.state({kMapAccel}).on, (options_byte & 2) != 0);
  // Two option buttons: Special2 wins when the ECU has both bits set.
  EXPECT_EQ(switches.state({kSpecialConfig, 0}).on, (options_byte & 12) == 4);
  EXPECT_EQ(switches.state({kSpecialConfig, 1}).on, (options_byte & 8) != 0);
  EXPECT_EQ(switches.map_type(), rig.Scalar("MAP_TYPE") & 3);
  EXPECT_EQ(switches.lambda_enabled(), (rig.Scalar("EGO_FLGS") & 1) != 0);
  for (int p = 0; p < kPhaseRows; ++p) {
    EXPECT_EQ(switches.row_mask(p), rig.ecu.memory().PhaseCell(p)) << p;
    EXPECT_FALSE(switches.row_marked(p)) << p;
  }
  for (const SwitchRef& ref : ConfigurationSwitches::All()) {
    EXPECT_EQ(switches.state(ref).text, kPlainText) << ref.name << ref.index;
  }
}

TEST(ConfigurationFillTest, TpsCaptureShowsTheEndPointTheEcuTook) {
  ConfigurationRig rig;
  rig.Fill();
  rig.editor.CaptureTps(TpsEndPoint::kClosed);
  EXPECT_EQ(rig.TakeRequests(), Requests{Command(215, 0, 0, 0)});
  const int captured = rig.Scalar("TPS_BASE");
  EXPECT_EQ(captured, rig.ecu.engine().state().throttle_adc);
  EXPECT_EQ(rig.Field(kTpsClosedField).text,
            DisplayText(Scaling::kTpsPercent, "##0.0", captured, rig.ctx.live));
  EXPECT_EQ(rig.Field(kTpsClosedField).background, kBrightWhite);

  // No answer: the field stays empty and marked, and the update skips it.
  rig.silent_codes = {216};
  rig.editor.CaptureTps(TpsEndPoint::kOpen);
  EXPECT_EQ(rig.TakeRequests().front(), Command(216, 0, 0, 0));
  EXPECT_EQ(rig.State(kTpsOpenField), "*");
  EXPECT_TRUE(rig.Sent().empty());
}

// The configuration window filled from the virtual ECU, its tach full
// scale 8000 RPM.
struct UpdateRig : testing::ConfigurationRig {
  UpdateRig() {
    ecu.memory().SetScalar("FS_RPM", 8000);
    Fill();
  }
  // The text of a field at the moment each message box came up.
  void WatchField(std::string_view field) {
    prompts.set_on_show([this, field](const Message&) {
      text_at_message.push_back(Field(field).text);
    });
  }
  std::vector<std::string> text_at_message;
};

TEST(ConfigurationUpdateTest, EgoGainsAreHeldToTheirLimits) {
  UpdateRig rig;
  EXPECT_EQ(rig.Sent({{"EGO_Prop_Gain", "1.000"}}),
            Requests{CommandWithByte('?', 64)});
  EXPECT_TRUE(rig.Sent({{"EGO_Prop_Gain", "1.01"}}).empty());
  EXPECT_EQ(rig.prompts.texts(),
            Requests{"The value for the Ego Proportional Gain is greater than "
                     "1.000, Parameter will not be updated"});
  EXPECT_EQ(rig.State("EGO_Prop_Gain"), "1.01*");
  EXPECT_EQ(rig.Sent({{"EGO_Prop_Gain", "-0.3"}}),
            Requests{CommandWithByte('?', 0)});
  // The limits replace the entry and say so.
  rig.prompts.Clear();
  rig.WatchField("min_ego_gain");
  EXPECT_EQ(rig.Sent({{"max_ego_gain", "1.5"}, {"min_ego_gain", "0.5"}}),
            (Requests{CommandWithByte('<', 39), CommandWithByte('>', 90)}));
  EXPECT_EQ(
      rig.prompts.texts(),
      (Requests{"The Minimum EGO Gain has been altered to within limits",
                "The Maximum EGO Gain has been altered to within limits"}));
  EXPECT_EQ(rig.text_at_message.front(), ".614");
  // The echo shows what the ECU holds: 39 / 64.
  EXPECT_EQ((Requests{rig.State("min_ego_gain"), rig.State("max_ego_gain")}),
            (Requests{".609", "1.406"}));
}

TEST(ConfigurationUpdateTest, TheFullScaleIsReadBackAndConvertsTheRevLimiter) {
  UpdateRig rig;
  rig.WatchField("max_rpm");
  EXPECT_EQ(rig.Sent({{"max_rpm", "9000"}}),
            Requests{CommandWithWord('i', 1023)});
  EXPECT_EQ(rig.prompts.texts(), Requests{"The value of the fuel cut RPM was "
                                          "too high, it has been adjusted"});
  EXPECT_EQ(rig.text_at_message, Requests{"9000"});
  EXPECT_EQ(rig.Field("max_rpm").text, "8000");
  // The rev limiter is held as a fraction of the full scale: typed with a new
  // full scale it is an RPM of that full scale, sent once it is in force:
  // 7000 / 10000 x 1023 = 716.1 (895 with the old one, 8749 RPM).
  EXPECT_EQ(rig.Sent({{"max_rpm", "7000"}, {kFullScaleField, "10000"}}),
            (Requests{CommandWithWord(125, 10000), "C000",
                      CommandWithWord('i', 716)}));
  EXPECT_EQ(rig.State("max_rpm"), "6999");
  // A new full scale is read back; later entries, even refused, survive it.
  EXPECT_EQ(
      rig.Sent({{kFullScaleField, "6000"},
                {"trigs_per_rev", "12"},
                {"accel_senitivity", "-1"}}),
      (Requests{CommandWithWord(125, 6000), "C000", CommandWithByte(126, 12)}));
  EXPECT_EQ(rig.ctx.live.FullScaleRpm, 6000.0f);
  EXPECT_EQ(rig.State("trigs_per_rev"), "12");
  EXPECT_EQ(rig.Field("max_rpm").text,
            DisplayText(Scaling::kRpmFraction, "####0", rig.Scalar("KILL_RPM"),
                        rig.ctx.live));
  EXPECT_EQ(rig.State("accel_senitivity"), "-1*");
  rig.prompts.Clear();

  // A full scale that does not fit is not sent, and nothing is read back.
  EXPECT_EQ(rig.Sent({{"accel_senitivity", "10"}, {kFullScaleField, "70000"}}),
            Requests{CommandWithWord('g', 49)});
  EXPECT_EQ(rig.prompts.texts(), Requests{"The value for Tach Full Scale [RPM] "
                                          "is out of range, it will not be "
                                          "updated"});
}

TEST(ConfigurationUpdateTest, MorePrimingPulsesThanOneAreSentOnlyOnYes) {
  UpdateRig rig;
  rig.Type("num_pulses_hot", "2");
  rig.editor.Update();  // answered with the default
  rig.prompts.QueueAnswer(Answer::kCancel);
  rig.editor.Update();
  EXPECT_TRUE(rig.TakeRequests().empty());
  EXPECT_TRUE(rig.Field("num_pulses_hot").changed());
  ASSERT_EQ(rig.prompts.shown().size(), 2u);
  const Message& question = rig.prompts.shown()[0];
  EXPECT_EQ(question.buttons, Buttons::kYesNoCancel);
  EXPECT_EQ(question.default_button, 1);  // Enter says No
  EXPECT_EQ(question.text,
            "You have specified more than 1 hot priming pulse.\n"
            "This can cause excessive fuel to puddle in the cylinders.\n"
            "Are you certain that this is what you want to do?");
  rig.prompts.Clear();
  rig.prompts.QueueAnswer(Answer::kYes);
  rig.prompts.QueueAnswer(Answer::kNo);
  EXPECT_EQ(rig.Sent({{"num_pulses_cold", "3"}}),
            Requests{CommandWithByte('t', 2)});
  EXPECT_EQ(rig.prompts.texts()[1].substr(0, 50),
            "You have specified more than 1 cold priming pulse.");
  EXPECT_EQ(rig.State("num_pulses_cold"), "3*");
  EXPECT_EQ(rig.State("num_pulses_hot"), "2");
}

// A phase row's write is checked on the window.
TEST(ConfigurationUpdateTest, OptionsGoAsAWholeByte) {
  ConfigurationRig rig;
  // TPS mapped, MAP accel, Alt IGN
  rig.ecu.memory().SetScalar("OPTIONS", 1 | 2 | 4);
  rig.ctx.console.master_mode = true;
  rig.Fill();
  // The echo of the byte confirms all four controls at once.
  rig.editor.Click({kTpsMapped});
  rig.editor.Click({kSpecialConfig, 1});
  EXPECT_EQ(rig.Sent(), Requests{CommandWithByte('|', 10)});
  EXPECT_EQ(rig.Scalar("OPTIONS"), 10);
  EXPECT_EQ(rig.editor.switches().state({kSpecialConfig, 1}).text, kPlainText);
}

TEST(ConfigurationUpdateTest, ValuesBeyondAnItemsWidthAreNeverSent) {
  UpdateRig rig;
  const testing::FieldEntries entries = {
      {"accel_senitivity", "-1"},   {"accel_pw_min", "-0.5"},
      {"ego_seconds", "65536"},     {"tps_open_loop_val", "-5"},
      {"min_rpm_for_ego", "70000"},
  };
  EXPECT_TRUE(rig.Sent(entries).empty());
  // Each refusal names its field, in the window's order.
  EXPECT_EQ(rig.prompts.texts()[1],
            "The value for Accel Min PW is out of range, it will not be "
            "updated");
  Requests expected;
  for (const auto& [field, text] : entries) {
    expected.push_back(DoesNotFitMessage(ConfigurationFieldLabel(field)));
    EXPECT_EQ(rig.State(field), text + "*");
  }
  EXPECT_EQ(rig.prompts.texts(), expected);

  // The bounds the window names still clamp.
  for (const auto& [field, text] : entries) rig.Type(field, "0");
  rig.Sent();
  rig.prompts.Clear();
  EXPECT_EQ(rig.Sent({{"ego_seconds", "-5"}, {"accel_pw_max", "200"}}),
            (Requests{CommandWithWord(' ', 65535), CommandWithWord('b', 0)}));
  EXPECT_TRUE(rig.prompts.shown().empty());
}

TEST(ConfigurationUpdateTest, ConvertsAndSendsInTheWindowsOrder) {
  UpdateRig rig;
  // Typed last to first; sent first to last.
  rig.Type("tps_open_loop_val", "100");
  rig.Type(kTpsClosedField, "120");
  rig.Type(kLambdaAt0VField, "0.4");
  rig.editor.Click({kEgoType, kWideEgo});
  const testing::FieldEntries typed = {
      {"min_dwell_pcnt", "80"},    {"target_dwell", "9"},
      {"min_firing_time", "0.01"}, {"iac_enable_tps_val", "300"},
      {"bat_comp", "10.4"},        {"phases_till_recycle", "260"},
      {"temp_threshold", "-20"},   {"priming_pw_hot", "200"},
      {"min_pressure", "500"},     {"ego_rate", "0"},
      {"accel_flt_rate", "0"}};
  EXPECT_EQ(rig.Sent(typed),
            (Requests{CommandWithWord('f', 1), CommandWithByte('c', 1),
                      CommandWithWord('p', 1023), CommandWithWord('s', 65000),
                      CommandWithByte('w', 0xF3), CommandWithByte(129, 4),
                      CommandWithByte(131, 6), CommandWithWord(137, 2048),
                      CommandWithWord(147, 16), CommandWithWord(149, 2500),
                      CommandWithByte(151, 64), CommandWithByte(209, 1),
                      CommandWithByte(210, 200), CommandWithByte(213, 255),
                      CommandWithByte(228, 255)}));
  EXPECT_TRUE(rig.prompts.shown().empty());
  EXPECT_THAT(testing::States(rig.editor.fields()), Each(Not(EndsWith("*"))));
  EXPECT_TRUE(rig.editor.switches().lambda_enabled());
}

TEST(ConfigurationUpdateTest, PausesFollowEachControl) {
  UpdateRig rig;
  rig.Type("min_dwell_pcnt", "20");
  rig.editor.Click({kEgoType, kWideEgo});
  rig.Type(kLambdaAt0VField, "1.2");
  rig.Type(kLambdaAt1VField, "0.8");
  rig.Type(kTpsClosedField, "10");
  rig.Type(kTpsOpenField, "90");
  const double start = rig.clock.now();
  rig.editor.Update();
  ASSERT_EQ(rig.seen.size(), 6u);
  EXPECT_NEAR(rig.seen[0].at - start, 0.4 + 8 * kByteTime, 1e-6);
  // Request and echo of a one-byte item take 14 bytes on the line.
  const std::vector<double> pauses = {0.2, 0, 0, 0, 0.2};
  for (size_t i = 1; i < rig.seen.size(); ++i) {
    EXPECT_NEAR(rig.seen[i].at - rig.seen[i - 1].at - 14 * kByteTime,
                pauses[i - 1], 2e-3)
        << i;
  }
}

TEST(ConfigurationUpdateTest, EnterRunsTheUpdateFromMostControls) {
  UpdateRig rig;
  rig.Type("max_rpm", "abc");
  rig.Type("ego_rate", "12");
  const EditorKeyPress enter{.key = EditorKey::kEnter};
  EXPECT_FALSE(rig.editor.KeyPressed({kLambdaAt1VField, 0}, enter).handled);
  EXPECT_TRUE(rig.TakeRequests().empty());

  EXPECT_TRUE(rig.editor.KeyPressed({"ego_rate", 0}, enter).handled);
  EXPECT_EQ(rig.TakeRequests(), Requests{CommandWithByte('c', 12)});
  // A field without a number is passed over, with one message.
  EXPECT_EQ(rig.prompts.texts(), Requests{"A cell that does not hold a number "
                                          "has been found, it will not be "
                                          "updated"});
  EXPECT_TRUE(rig.Field("max_rpm").changed());
}

}  // namespace
}  // namespace ecu

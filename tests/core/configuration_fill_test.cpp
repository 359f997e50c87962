#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "configuration_rig.h"
#include "core/calibration/scaling.h"
#include "core/editors/configuration_fields.h"
#include "core/editors/configuration_order.h"

namespace ecu {
namespace {

using testing::ConfigurationRig;

constexpr double kByteTime = testing::VirtualLinePort::kByteSeconds;

std::string Read(int code) {
  return std::string(1, static_cast<char>(code)) + "000";
}

TEST(ConfigurationFillTest, ReadsEveryItemInOrderWithItsPauses) {
  ConfigurationRig rig;
  const double start = rig.clock.now();
  rig.editor.Activate();
  const std::vector<int> codes = {
      'C', 'B', '@', '!', '%', '^', 'U', 'V', 'S', 'T', 'W', 127, 132, 134,
      136, 138, 140, 142, 144, 146, 148, 150, 208, 212, 229, 227, 231, 233};
  const std::vector<int> lengths = {21, 12, 5, 4, 4, 4, 5, 4, 5, 4,
                                    4,  11, 5, 5, 5, 5, 5, 5, 4, 5,
                                    5,  4,  6, 5, 4, 4, 5, 5};
  ASSERT_EQ(rig.seen.size(), codes.size());
  for (size_t i = 0; i < codes.size(); ++i) {
    EXPECT_EQ(rig.seen[i].field, Read(codes[i])) << i;
    EXPECT_EQ(ConfigurationFillReads()[i], codes[i]) << i;
    EXPECT_EQ(rig.ctx.replies.LengthOf(static_cast<uint8_t>(codes[i])),
              lengths[i])
        << i;
  }
  // 0.2 s before the first request, 0.1 s after each reply.
  EXPECT_NEAR(rig.seen[0].at - start, 0.2 + 8 * kByteTime, 1e-6);
  for (size_t i = 1; i < codes.size(); ++i) {
    const double reply = (lengths[i - 1] + 2) * kByteTime;
    EXPECT_NEAR(rig.seen[i].at - rig.seen[i - 1].at,
                reply + 0.1 + 8 * kByteTime, 2e-3)
        << i;
  }
  EXPECT_TRUE(rig.prompts.shown().empty());
  EXPECT_TRUE(rig.editor.enabled());
}

TEST(ConfigurationFillTest, EveryControlShowsWhatTheEcuHolds) {
  sim::SimOptions options;
  options.random_calibration = true;
  options.seed = 7;
  ConfigurationRig rig(false, options);
  rig.Fill();
  for (const CellFamily& family : rig.editor.fields().families()) {
    const ScalarItem& item = *family.scalars.front();
    const EditorCell& cell = rig.Field(family.name);
    EXPECT_EQ(cell.background, kBrightWhite) << family.name;
    EXPECT_EQ(cell.text, DisplayText(item.scaling, item.format,
                                     rig.ctx.image.scalar(item), rig.ctx.live))
        << family.name;
  }
  const ConfigurationSwitches& switches = rig.editor.switches();
  const int options_byte = rig.Scalar("OPTIONS");
  EXPECT_EQ(switches.state({kTpsMapped}).on, (options_byte & 1) != 0);
  EXPECT_EQ(switches.state({kMapAccel}).on, (options_byte & 2) != 0);
  // Two option buttons: Special2 wins when the ECU has both bits set.
  const int special =
      (options_byte & 8) != 0 ? 1 : ((options_byte & 4) != 0 ? 0 : kNoOption);
  EXPECT_EQ(switches.state({kSpecialConfig, 0}).on, special == 0);
  EXPECT_EQ(switches.state({kSpecialConfig, 1}).on, special == 1);
  EXPECT_EQ(switches.map_type(), rig.Scalar("MAP_TYPE") & 3);
  EXPECT_EQ(switches.lambda_enabled(), (rig.Scalar("EGO_FLGS") & 1) != 0);
  for (int p = 0; p < kPhaseRows; ++p) {
    EXPECT_EQ(switches.row_mask(p), rig.ecu.memory().PhaseCell(p)) << p;
    EXPECT_FALSE(switches.row_marked(p)) << p;
  }
  for (const SwitchRef& ref : ConfigurationSwitches::All()) {
    EXPECT_EQ(switches.state(ref).text, kPlainText) << ref.name << ref.index;
  }
  // Nothing marked: an update sends nothing.
  rig.editor.Update();
  EXPECT_TRUE(rig.TakeRequests().empty());
}

TEST(ConfigurationFillTest, DemoModeShowsTheDemoTextsAndSendsNothing) {
  ConfigurationRig rig(true);
  rig.editor.switches().Click({kTpsMapped});
  rig.Fill();
  EXPECT_TRUE(rig.port.written().empty());
  EXPECT_EQ(rig.Field("min_ego_gain").text, ".604");
  EXPECT_EQ(rig.Field("priming_pw_cold").text, "10.000");
  EXPECT_EQ(rig.Field("min_ego_gain").background, kBrightWhite);
  // Fields without a demo text keep their mark.
  EXPECT_TRUE(rig.Field(kTpsClosedField).changed());
  EXPECT_TRUE(rig.Field("min_rpm_for_ego").changed());
  const ConfigurationSwitches& switches = rig.editor.switches();
  EXPECT_EQ(switches.map_type(), 0);
  EXPECT_EQ(switches.state({kTpsMapped}).text, kPlainText);
  EXPECT_EQ(switches.state({kSpecialConfig, 1}).text, kPlainText);
  EXPECT_TRUE(switches.row_known(0));
  EXPECT_FALSE(switches.row_marked(0));

  rig.Type("max_rpm", "7000");
  rig.editor.Click({kMapAccel});
  rig.editor.Click({"inj_ph_2", 1});
  rig.editor.Update();
  EXPECT_TRUE(rig.port.written().empty());
  EXPECT_TRUE(rig.prompts.shown().empty());
  EXPECT_TRUE(rig.Field("max_rpm").changed());
  EXPECT_EQ(switches.state({kMapAccel}).text, kYellow);
}

TEST(ConfigurationFillTest, AFieldWithoutAReplyStaysMarkedAndIsNotInvented) {
  ConfigurationRig rig;
  rig.silent = {229};
  rig.editor.Activate();
  // The warning of the read, then the window's own word on it.
  ASSERT_EQ(rig.prompts.shown().size(), 2u);
  EXPECT_EQ(rig.prompts.texts()[0].substr(0, 26), "Warning, comm non-response");
  EXPECT_EQ(rig.prompts.texts()[1].substr(0, 39),
            "1 value could not be read from the ECU.");
  rig.seen.clear();
  EXPECT_TRUE(rig.Field("decel_tps_value").changed());
  EXPECT_TRUE(rig.Field("decel_tps_value").text.empty());
  EXPECT_FALSE(rig.Field("tps_open_loop_val").changed());
  rig.editor.Update();
  EXPECT_TRUE(rig.TakeRequests().empty());
}

TEST(ConfigurationFillTest, AWindowLeftBeforeTheLinkWasFreeIsNotFilled) {
  ConfigurationRig rig;
  rig.silent = {'A'};
  bool acted = false;
  rig.pump.set_on_pump([&] {
    if (std::exchange(acted, true)) return;
    rig.editor.Activate();
    rig.editor.Hidden();
  });
  std::ignore = rig.ctx.link.SendCommand("A");
  rig.pump.set_on_pump(nullptr);
  rig.seen.clear();
  rig.ctx.link.RunDeferred();
  EXPECT_TRUE(rig.seen.empty());
  // Shown again, it fills as usual.
  rig.editor.Activate();
  EXPECT_EQ(rig.seen.size(), ConfigurationFillReads().size());
  EXPECT_TRUE(rig.editor.enabled());
}

TEST(ConfigurationFillTest, TpsCaptureShowsTheEndPointTheEcuTook) {
  ConfigurationRig rig;
  rig.Fill();
  rig.editor.CaptureTps(TpsEndPoint::kClosed);
  EXPECT_EQ(rig.TakeRequests(),
            std::vector<std::string>{Command(215, 0, 0, 0)});
  const int captured = rig.Scalar("TPS_BASE");
  EXPECT_EQ(captured, rig.ecu.engine().state().throttle_adc);
  EXPECT_EQ(rig.Field(kTpsClosedField).text,
            DisplayText(Scaling::kTpsPercent, "##0.0", captured, rig.ctx.live));
  EXPECT_EQ(rig.Field(kTpsClosedField).background, kBrightWhite);

  // No answer: the field stays empty and marked, and the update skips it.
  rig.silent = {216};
  rig.editor.CaptureTps(TpsEndPoint::kOpen);
  EXPECT_EQ(rig.TakeRequests().front(), Command(216, 0, 0, 0));
  EXPECT_TRUE(rig.Field(kTpsOpenField).text.empty());
  EXPECT_TRUE(rig.Field(kTpsOpenField).changed());
  rig.editor.Update();
  EXPECT_TRUE(rig.TakeRequests().empty());
}

}  // namespace
}  // namespace ecu

#include "core/readouts/dashboard_model.h"

#include <gtest/gtest.h>

#include "core/console/demo_simulation.h"
#include "core/editors/injector_adjustments.h"
#include "core/link/frame.h"
#include "support/context_rig.h"

namespace ecu {
namespace {

constexpr CellRef kScaler{kInjectorBoxes, kFuelScalerBox};
constexpr CellRef kOffset{kInjectorBoxes, kFuelOffsetBox};

// A dashboard over the virtual ECU, the link ready.
struct DashboardRig : testing::ContextRig {
  DashboardRig() { ctx.link.EnsureLink(); }
  const EditorCell& Box(CellRef ref) { return model.injectors().cell(ref); }
  KeyOutcome Key(CellRef ref, EditorKey key, bool shift = false) {
    return model.KeyPressed(ref, {.key = key, .shift = shift});
  }

  DashboardModel model{ctx};
};

TEST(DashboardScalesTest, TachometerRowsAndTheirBoundaries) {
  const std::pair<double, TachometerScale> rows[] = {
      {-100, {4, 0.5}}, {4000, {4, 0.5}}, {4001, {6, 1}},   {7000, {8, 1}},
      {12000, {16, 2}}, {24000, {24, 3}}, {40000, {40, 5}}, {40001, {50, 4}},
  };
  for (const auto& [rpm, scale] : rows) {
    const TachometerScale got = TachometerScaleFor(rpm);
    EXPECT_EQ(got.maximum, scale.maximum) << rpm;
    EXPECT_EQ(got.step, scale.step) << rpm;
  }
}

TEST(DashboardLampsTest, GammaToLamp) {
  EXPECT_EQ(MixtureLampFor(0.8f), 3);  // 3.27
  EXPECT_EQ(MixtureLampFor(1.0f), 7);  // "= 1"
  EXPECT_EQ(MixtureLampFor(0.625f), 0);
  EXPECT_EQ(MixtureLampFor(0.3f), 0);
  EXPECT_EQ(MixtureLampFor(1.375f), 14);
  EXPECT_EQ(MixtureLampFor(1.6f), 14);  // x held at 0.975: 18.2
  // 1.5 lamps above lean: halves go to the even neighbour.
  EXPECT_EQ(MixtureLampFor(0.625 + 1.5 * 0.375 / 7), 2);
}

TEST(DashboardModelTest, ActivationReadsBothBlocksAndScalesTheTachometer) {
  DashboardRig rig;
  rig.memory().SetScalar("FS_RPM", 7000);
  rig.memory().SetScalar("KILL_RPM", 925);
  rig.memory().SetScalar("MAP_TYPE", 1);
  rig.model.Activate();
  EXPECT_EQ(rig.TakeCodes(), (std::vector<int>{'C', 'B'}));
  EXPECT_TRUE(rig.prompts.shown().empty());
  const GaugeSetting& tach = rig.model.tachometer();
  EXPECT_EQ(tach.maximum, 8);
  EXPECT_EQ(tach.step, 1);
  EXPECT_NEAR(tach.red_start, 6.329, 0.0005);  // red line 6329.4 rev/min
  EXPECT_NEAR(tach.warning_start, 5.696, 0.0005);
  EXPECT_EQ(rig.model.manifold_pressure().maximum, 250);
  // The program block fills both boxes and the echo marks them white.
  EXPECT_EQ(rig.Box(kScaler).text, "10.200");
  EXPECT_FALSE(rig.Box(kScaler).changed());
  EXPECT_EQ(rig.Box(kOffset).text, "-0.525");
  EXPECT_FALSE(rig.Box(kOffset).changed());
}

TEST(DashboardModelTest, DemoActivationAndAnUnknownMapSpan) {
  DashboardRig rig;
  rig.ctx.link_state.demo_mode = true;
  DemoSimulation demo;
  demo.Run(rig.ctx.live, rig.ctx.image);
  rig.ctx.live.FullScaleRpm = 16000;
  rig.ctx.live.MapSpan = 255;
  rig.model.Activate();
  EXPECT_TRUE(rig.port.written().empty());
  EXPECT_EQ(rig.Box(kScaler).text, "10.200");
  EXPECT_EQ(rig.Box(kOffset).text, "-.520");
  EXPECT_FALSE(rig.Box(kOffset).changed());
  EXPECT_EQ(rig.ctx.live.FullScaleRpm, 8000);
  EXPECT_EQ(rig.model.tachometer().maximum, 8);
  EXPECT_EQ(rig.model.manifold_pressure().maximum, 250);

  // A span of 200 leaves the gauge's scale as it was.
  rig.ctx.live.MapSpan = 200;
  rig.model.Activate();
  EXPECT_EQ(rig.model.manifold_pressure().maximum, 250);
  EXPECT_EQ(rig.model.manifold_pressure().step, 25);
  EXPECT_EQ(rig.model.manifold_pressure().red_start, 200);
}

TEST(DashboardModelTest, RefreshMovesGaugesLampAndCorrection) {
  DashboardRig rig;
  LiveData& live = rig.ctx.live;
  live.Gamma = 0.5f;
  rig.model.Refresh();
  EXPECT_EQ(rig.model.lit_lamp(), 0);
  live.MAP = 87.5f;
  live.EgoCorrection = 1.0236f;
  live.Gamma = 0.8f;
  live.BatteryVolts = 13.8f;
  live.RPM = 3235;
  live.CLT = -10;
  live.MAT = 24;
  rig.model.Refresh();
  EXPECT_EQ(rig.model.lit_lamp(), 3);
  EXPECT_EQ(rig.model.ego_correction(), "1.024");
  EXPECT_FLOAT_EQ(rig.model.manifold_pressure().value, 87.5);
  EXPECT_FLOAT_EQ(rig.model.tachometer().value, 3.235);
  EXPECT_FLOAT_EQ(rig.model.water_temp().value, -10);
  EXPECT_FLOAT_EQ(rig.model.air_temp().value, 24);
  EXPECT_FLOAT_EQ(rig.model.bat_volts().value, 13.8f);
  live.Gamma = 1.0f;
  rig.model.Refresh();
  EXPECT_EQ(rig.model.lit_lamp(), 7);
}

TEST(DashboardModelTest, InjectorKeysNudgeAndMoveBetweenTheBoxes) {
  DashboardRig rig;
  rig.model.injectors().Edited(kScaler, "65.5");
  EXPECT_TRUE(rig.Key(kScaler, EditorKey::kUp, true).handled);
  EXPECT_EQ(rig.Box(kScaler).text, "65.535");
  rig.Key(kScaler, EditorKey::kUp, true);
  EXPECT_EQ(rig.Box(kScaler).text, "65.535");
  rig.model.injectors().Edited(kOffset, "-15.95");
  rig.Key(kOffset, EditorKey::kDown, true);
  EXPECT_EQ(rig.Box(kOffset).text, "-16.000");
  EXPECT_TRUE(rig.Box(kOffset).changed());
  // Plain arrows take the focus to the other box, both ways.
  EXPECT_EQ(rig.Key(kScaler, EditorKey::kDown).focus, kOffset);
  EXPECT_EQ(rig.Key(kScaler, EditorKey::kUp).focus, kOffset);
  EXPECT_EQ(rig.Key(kOffset, EditorKey::kUp).focus, kScaler);
  EXPECT_EQ(rig.Key(kOffset, EditorKey::kDown).focus, kScaler);
}

TEST(DashboardModelTest, UpdateSendsOnlyTheChangedBoxWithTheFuelMapRules) {
  DashboardRig rig;
  rig.model.Activate();
  rig.TakeCodes();
  rig.model.injectors().Edited(kScaler, "8.8");
  rig.Key(kScaler, EditorKey::kEnter);
  const std::vector<std::string> written = rig.port.written();
  ASSERT_EQ(written.size(), 1u);
  // 8.8 ms in 1.6 us counts.
  EXPECT_EQ(written[0].substr(2, 4), CommandWithWord('m', 5500));
  EXPECT_FALSE(rig.Box(kScaler).changed());
  EXPECT_EQ(rig.Box(kScaler).text, "8.800");
  EXPECT_TRUE(rig.prompts.shown().empty());

  rig.port.ClearWritten();
  rig.model.injectors().Edited(kOffset, "60");
  rig.model.RequestUpdate();
  EXPECT_TRUE(rig.port.written().empty());
  EXPECT_EQ(rig.prompts.texts(),
            std::vector<std::string>{"The value for the Fuel Offset is too "
                                     "high, it will not be updated"});
  EXPECT_TRUE(rig.Box(kOffset).changed());
}

TEST(DashboardModelTest, EgoSwitchFilterChoiceAndHiding) {
  DashboardRig rig;
  rig.model.SwitchEgo(EgoSwitch::kOff);
  rig.model.SwitchEgo(EgoSwitch::kOn);
  EXPECT_EQ(rig.TakeCodes(), (std::vector<int>{'D', 'd'}));
  EXPECT_EQ(rig.model.ego_switch(), EgoSwitch::kOn);

  EXPECT_EQ(rig.model.tach_filter_entry(), kSoftFilterEntry);
  rig.model.ChooseTachFilter(0);
  EXPECT_EQ(rig.model.tach_filter_entry(), 0);
  EXPECT_EQ(rig.ctx.live.TachFilterFactor, 0.2f);

  // Hidden, the dashboard no longer takes the program block's values.
  rig.model.Activate();
  rig.model.injectors().Edited(kScaler, "3");
  rig.model.Hidden();
  ReadInjectorAdjustments(rig.ctx.link);
  EXPECT_EQ(rig.Box(kScaler).text, "3");
}

}  // namespace
}  // namespace ecu

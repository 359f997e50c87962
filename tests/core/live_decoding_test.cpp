#include "core/link/live_decoding.h"

#include <gtest/gtest.h>

#include "core/console/demo_simulation.h"
#include "core/editors/injector_adjustments.h"
#include "core/link/frame.h"
#include "core/readouts/dashboard_model.h"
#include "core/readouts/monitor_text.h"
#include "support/context_rig.h"
#include "support/wire_bytes.h"

namespace ecu {
namespace {

using Texts = std::vector<std::string>;

// An "A" frame whose data bytes begin with `head`, zeros after it.
std::string LiveFrame(std::initializer_list<int> head) {
  std::string data = testing::Bytes(head);
  data.resize(20, '\0');
  return BuildReply('A', data);
}

TEST(LiveDecodingTest, TachFilterApproachesTheNewSpeed) {
  LiveData live;
  const std::string frame = LiveFrame({0, 0, 0, 0, 0xFF, 0x03});  // RPM
  for (const float rpm : {8000.0f, 9600.0f, 9920.0f}) {
    DecodeLiveFrame(frame, live);
    EXPECT_FLOAT_EQ(live.RPM, rpm);
  }
  EXPECT_FLOAT_EQ(live.PreviousRpm, 9920);
  LiveData unfiltered;
  unfiltered.TachFilterFactor = 1.0f;
  DecodeLiveFrame(frame, unfiltered);
  EXPECT_FLOAT_EQ(unfiltered.RPM, 10000);
}

TEST(LiveDecodingTest, FieldsOfEveryFrameAndTheirScaling) {
  LiveData live{.MapSpan = 551, .MapOffset = 79};
  DecodeLiveFrame(LiveFrame({0xFF, 0x03,                // MAP
                             0xFF, 0x03,                // TPS
                             0,    0,    0,   0,        // RPM, gamma
                             0x88, 0x13,                // PW
                             0xF6, 30,   255, 64, 128,  // CLT .. MAP enrichment
                             0xFF, 0xFF,                // acceleration
                             80,   0xFF, 0x03}),        // coolant, baro
                  live);
  // MAP with sensor type 2's span and offset; a failure shows the value.
  const std::pair<float, float> fields[] = {
      {live.MAP, 630},         {live.TPS, 100},
      {live.Gamma, 0.3f},      {live.PW, 0.008f},
      {live.CLT, -10},         {live.MAT, 30},
      {live.BatteryVolts, 20}, {live.EgoCorrection, 1},
      {live.MapEnrichment, 1}, {live.CltEnrichment, 1.25},
      {live.Baro, 125}};
  for (const auto& [got, expected] : fields) EXPECT_FLOAT_EQ(got, expected);
  EXPECT_NEAR(live.Lambda, 3.333, 0.001);
  EXPECT_NEAR(live.AccelEnrichment, 104.856, 1e-3);
  // The aux, idle air and map number frames.
  DecodeAuxFrame(BuildReply('F', std::string("\x00\x00\x00\x02", 4)), live);
  EXPECT_FLOAT_EQ(live.AuxVolts, 2.5);
  EXPECT_FLOAT_EQ(live.AuxValue, 200);
  DecodeIdleAirFrame(
      BuildReply(152, std::string("\x07\x03\x2C\x01\x20\x03", 6)), live);
  EXPECT_EQ((std::vector<int32_t>{live.IacState, live.IacError,
                                  live.IacPosition, live.IacRpmSetpoint}),
            (std::vector<int32_t>{7, 3, 300, 800}));
  EXPECT_EQ((Texts{IacStateName(7), IacStateName(0), IacStateName(4)}),
            (Texts{"????", "????", "OPENING"}));
  ReplyTable replies;
  std::string shown;
  AddLiveReplies(replies, live, [&](const std::string& t) { shown = t; });
  replies.Find(178)->decode(
      BuildReply(178, std::string("\x02\0\0\0\0\0\0", 7)));
  EXPECT_EQ(live.MapNumber, 2);
  EXPECT_EQ(shown, "2");
}

TEST(MonitorTextTest, FormatsAndClamps) {
  LiveData live{.RPM = 45000,
                .MAP = 32.25f,
                .TPS = 130,
                .Gamma = 3,
                .Lambda = 0.2f,
                .PW = 0.0081f,
                .CLT = 140,
                .BatteryVolts = 14.25f,
                .EgoCorrection = 1.0236f,
                .Baro = 101.2f,
                .IacState = 6,
                .IacError = 12,
                .IacPosition = 45,
                .IacRpmSetpoint = 850};
  std::vector<std::pair<int, std::string>> writes;
  MonitorText monitor;
  const Subscription writer = monitor.labels().Subscribe(
      [&](int i, const std::string& t) { writes.emplace_back(i, t); });
  monitor.Refresh(live);
  // The clamps change the stored values.
  EXPECT_EQ((std::vector<float>{live.RPM, live.TPS, live.CLT, live.Gamma,
                                live.Lambda}),
            (std::vector<float>{40000, 100, 125, 2, 0.5}));
  const MonitorLines& t = monitor.shown();
  EXPECT_EQ((Texts{t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[10], t[13],
                   t[14], t[15], t[16], t[17], t[18]}),
            (Texts{"40000", ".500", "125", "100", "32.3", "8.100", "1.024",
                   "14.25", "", "101.2", "CLOSED", "ERR 12", "45", "850"}));
  live.IacError = -2;
  EXPECT_EQ(ComputeMonitorText(live)[16], "ERR-2");
  live.IacError = 0;
  EXPECT_EQ(ComputeMonitorText(live)[16], "OK");
}

TEST(MonitorTextTest, WritesOnlyChangedLabelsUntilInvalidated) {
  LiveData live;
  std::vector<int> written;
  MonitorText monitor;
  const Subscription writer = monitor.labels().Subscribe(
      [&](int i, const std::string&) { written.push_back(i); });
  monitor.Refresh(live);
  // At the start every label but 13 differs from the empty text.
  EXPECT_EQ(written.size(), 18u);
  written.clear();
  monitor.Refresh(live);
  EXPECT_TRUE(written.empty());
  live.RPM = 1234;
  monitor.Refresh(live);
  EXPECT_EQ(written, std::vector<int>{0});
  written.clear();
  monitor.Invalidate();
  monitor.Refresh(live);
  // 0..13 are rewritten (13 with its empty text), 14..18 are not.
  EXPECT_EQ(written.size(), 14u);
  EXPECT_EQ(written.front(), 0);
  EXPECT_EQ(written.back(), 13);
}

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

TEST(DashboardScalesTest, TachometerRowsAndMixtureLamps) {
  const std::pair<double, TachometerScale> rows[] = {
      {-100, {4, 0.5}}, {4000, {4, 0.5}}, {4001, {6, 1}},   {7000, {8, 1}},
      {12000, {16, 2}}, {24000, {24, 3}}, {40000, {40, 5}}, {40001, {50, 4}},
  };
  for (const auto& [rpm, scale] : rows) {
    EXPECT_EQ(TachometerScaleFor(rpm).maximum, scale.maximum) << rpm;
    EXPECT_EQ(TachometerScaleFor(rpm).step, scale.step) << rpm;
  }
  // The mixture lamp for a gamma.
  EXPECT_EQ(MixtureLampFor(0.8f), 3);  // 3.27
  EXPECT_EQ(MixtureLampFor(1.0f), 7);  // "= 1"
  EXPECT_EQ(MixtureLampFor(0.625f), 0);
  EXPECT_EQ(MixtureLampFor(0.3f), 0);
  EXPECT_EQ(MixtureLampFor(1.375f), 14);
  EXPECT_EQ(MixtureLampFor(1.6f), 14);  // x held at 0.975: 18.2
  // 1.5 lamps above lean: halves go to the even neighbour.
  EXPECT_EQ(MixtureLampFor(0.625 + 1.5 * 0.375 / 7), 2);
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
  EXPECT_FALSE(rig.Box(kOffset).changed());
  EXPECT_EQ(rig.ctx.live.FullScaleRpm, 8000);
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
  rig.ctx.live = {.RPM = 3235,
                  .MAP = 87.5f,
                  .Gamma = 0.8f,
                  .CLT = -10,
                  .MAT = 24,
                  .BatteryVolts = 13.8f,
                  .EgoCorrection = 1.0236f};
  rig.model.Refresh();
  EXPECT_EQ(rig.model.lit_lamp(), 3);
  EXPECT_EQ(rig.model.ego_correction(), "1.024");
  EXPECT_FLOAT_EQ(rig.model.manifold_pressure().value, 87.5);
  EXPECT_FLOAT_EQ(rig.model.tachometer().value, 3.235);
  EXPECT_FLOAT_EQ(rig.model.water_temp().value, -10);
  EXPECT_FLOAT_EQ(rig.model.air_temp().value, 24);
  EXPECT_FLOAT_EQ(rig.model.bat_volts().value, 13.8f);
}

TEST(DashboardModelTest, ArrowsMoveAndUpdateSendsOnlyTheChangedBox) {
  DashboardRig rig;
  // Plain arrows take the focus to the other box, both ways.
  EXPECT_EQ(rig.Key(kScaler, EditorKey::kDown).focus, kOffset);
  EXPECT_EQ(rig.Key(kScaler, EditorKey::kUp).focus, kOffset);
  EXPECT_EQ(rig.Key(kOffset, EditorKey::kUp).focus, kScaler);
  EXPECT_EQ(rig.Key(kOffset, EditorKey::kDown).focus, kScaler);
  // Update sends with the fuel map's rules.
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
  EXPECT_EQ(rig.prompts.texts(), Texts{"The value for the Fuel Offset is too "
                                       "high, it will not be updated"});
  EXPECT_TRUE(rig.Box(kOffset).changed());
}

TEST(DashboardModelTest, EgoSwitchFilterChoiceAndHiding) {
  DashboardRig rig;
  rig.model.SwitchEgo(EgoSwitch::kOn);
  EXPECT_EQ(rig.TakeCodes(), (std::vector<int>{'d'}));
  EXPECT_EQ(rig.model.ego_switch(), EgoSwitch::kOn);
  rig.model.ChooseTachFilter(9);  // no such entry
  EXPECT_EQ(rig.model.tach_filter_entry(), 1);
  // Hidden, the dashboard no longer takes the program block's values.
  rig.model.Activate();
  rig.model.injectors().Edited(kScaler, "3");
  rig.model.Hidden();
  ReadInjectorAdjustments(rig.ctx.link);
  EXPECT_EQ(rig.Box(kScaler).text, "3");
}

}  // namespace
}  // namespace ecu

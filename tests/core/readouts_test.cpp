#include <gtest/gtest.h>

#include <filesystem>

#include "core/console/demo_simulation.h"
#include "core/console/log_file_choice.h"
#include "core/console/sample_rate.h"
#include "core/editors/injector_adjustments.h"
#include "core/link/frame.h"
#include "core/link/live_decoding.h"
#include "core/readouts/dashboard_model.h"
#include "core/readouts/monitor_text.h"
#include "core/readouts/plotter_model.h"
#include "support/context_rig.h"
#include "support/temp_folder.h"
#include "support/text.h"
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
  const Texts written = rig.port.written();
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

// A plotter over a demo-mode console, logging into a fresh folder.
struct PlotterRig : testing::ContextRig {
  PlotterRig() : ContextRig({}, 14 * 3600 + 5 * 60 + 9) {
    ctx.link_state.demo_mode = true;
    model.set_plot_file(folder.Path("PLOTTER.CSV"));
    model.set_chart([this](const ChannelValues& v) { samples.push_back(v); });
  }
  ~PlotterRig() { ctx.log.Stop(); }

  PlotterModel model{ctx, nullptr};
  testing::TempFolder folder;
  std::vector<ChannelValues> samples;
};

// 100 ms and 1 s are checked on the window.
TEST(PlotterTitleTest, RateAndWindowInTheGeneralFormAndChannelValues) {
  const std::pair<int, const char*> titles[] = {
      {250, "4 Sample/Second,  2.5 minute window"},
      {2000, ".5 Sample/Second,  20 minute window"},
      {10000, ".1 Sample/Second,  100 minute window"}};
  for (const auto& [interval, title] : titles) {
    EXPECT_EQ(PlotterTitle(interval), std::string("DATA PLOTTER     ") + title);
  }
  // Of the channels only the mixture is held at zero: lambda 0.5 is -0.125
  // of the scale, a coolant of twice full scale is handed on as it is.
  // (Speed and mixture in range: the window's and the AFR test.)
  const ChannelValues v =
      ChannelValuesOf({.Lambda = 0.5f, .CLT = 250, .MAT = -25});
  EXPECT_EQ(v[1], 0.0);
  EXPECT_DOUBLE_EQ(v[2], 2.0);
  EXPECT_DOUBLE_EQ(v[5], -0.2);
  // The traces' colours, channel 0 first.
  std::vector<Rgb> colours;
  for (const PlotterChannel& c : PlotterChannels()) colours.push_back(c.colour);
  EXPECT_EQ(colours, (std::vector<Rgb>{{255, 255, 0},
                                       {128, 128, 255},
                                       {255, 0, 0},
                                       {0, 128, 128},
                                       {128, 255, 255},
                                       {192, 0, 192},
                                       {255, 128, 0},
                                       {0, 128, 0}}));
}

// Exit refused while logging is checked on the window.
TEST(PlotterModelTest, RefusalsAndTheButtonsThatFollowTheState) {
  PlotterRig rig;
  rig.model.StopLog();
  rig.model.StopLog();
  EXPECT_EQ(rig.prompts.texts(), Texts(2, kNotLogging));
  EXPECT_FALSE(rig.model.logging());
  rig.prompts.Clear();
  rig.model.StartLog();
  EXPECT_TRUE(rig.model.logging());
  EXPECT_TRUE(rig.prompts.shown().empty());
  rig.model.set_plot_file(rig.folder.Path("OTHER.CSV"));
  rig.model.StartLog();
  EXPECT_EQ(rig.prompts.texts(), Texts{kAlreadyLogging});
  EXPECT_EQ(rig.ctx.log.LogFileName(), rig.folder.Path("PLOTTER.CSV"));
  EXPECT_FALSE(std::filesystem::exists(rig.folder.Path("OTHER.CSV")));
  rig.model.StopLog();
  // A log that cannot be created stays not logging.
  rig.prompts.Clear();
  const std::string name = rig.folder.Path("no-such-folder/X.CSV");
  rig.model.set_plot_file(name);
  rig.model.StartLog();
  ASSERT_EQ(rig.prompts.shown().size(), 1u);
  EXPECT_TRUE(rig.prompts.texts()[0].starts_with("The log file " + name +
                                                 " could not be created ("))
      << rig.prompts.texts()[0];
  EXPECT_FALSE(rig.model.logging());
  EXPECT_TRUE(rig.model.CanExit());
}

// AFR chosen changes the caption, never the log: it keeps lambda.
TEST(PlotterModelTest, AfrChangesTheCaptionAndTheLogKeepsLambda) {
  PlotterRig rig;
  rig.ctx.live.RPM = 3235;
  rig.ctx.live.Lambda = 1.05f;
  rig.ctx.units = MixtureUnits{true, 9.8};
  rig.model.UnitsChanged();
  EXPECT_EQ(rig.model.caption(1), "Air Fuel [5.9 to 13.7 AFR]");
  rig.model.StartLog();
  rig.model.TickChannel(1, true);
  rig.model.TakeSample();
  rig.model.StopLog();
  ASSERT_EQ(rig.samples.size(), 1u);
  EXPECT_NEAR(rig.samples[0][1], (1.05 - 0.6) / 0.8, 1e-6);  // 0.6 to 1.4
  EXPECT_EQ(testing::CrLfLines(rig.folder.Read("PLOTTER.CSV"))[3].substr(0, 18),
            "14:05:09,3235,1.05");
}

TEST(PlotterModelTest, StartLogKeepsALogThatHoldsDataUnlessTold) {
  PlotterRig rig;
  const std::string drive =
      "14:05:09,3235,1.05,93,15.8,32.2,24,8.175,1.024\r\n";
  rig.folder.Write("PLOTTER.CSV", drive);
  rig.folder.Write("PLOTTER-1.CSV", drive);
  // Enter on the question: the drive is kept, the log goes beside it and
  // the file box follows.
  rig.model.StartLog();
  ASSERT_EQ(rig.prompts.shown().size(), 1u);
  const Message& box = rig.prompts.shown()[0];
  EXPECT_EQ(box.buttons, Buttons::kYesNoCancel);
  EXPECT_EQ(DefaultAnswer(box), Answer::kNo);
  EXPECT_TRUE(testing::Contains(box.text, rig.folder.Path("PLOTTER-2.CSV")))
      << box.text;
  EXPECT_EQ(rig.ctx.log.LogFileName(), rig.folder.Path("PLOTTER-2.CSV"));
  EXPECT_EQ(rig.model.plot_file(), rig.folder.Path("PLOTTER-2.CSV"));
  EXPECT_EQ(rig.folder.Read("PLOTTER.CSV"), drive);
  rig.model.StopLog();
  // Cancel starts nothing and touches nothing.
  rig.model.set_plot_file(rig.folder.Path("PLOTTER.CSV"));
  rig.prompts.QueueAnswer(Answer::kCancel);
  rig.model.StartLog();
  EXPECT_FALSE(rig.model.logging());
  EXPECT_EQ(rig.model.plot_file(), rig.folder.Path("PLOTTER.CSV"));
  EXPECT_EQ(rig.folder.Read("PLOTTER.CSV"), drive);
  // Yes replaces it, as before.
  rig.prompts.QueueAnswer(Answer::kYes);
  rig.model.StartLog();
  EXPECT_EQ(rig.ctx.log.LogFileName(), rig.folder.Path("PLOTTER.CSV"));
  rig.model.StopLog();
  EXPECT_EQ(rig.folder.Read("PLOTTER.CSV").find(drive), std::string::npos);
  // An empty file is nothing to lose: no question.
  rig.prompts.Clear();
  rig.folder.Write("EMPTY.CSV", "");
  rig.model.set_plot_file(rig.folder.Path("EMPTY.CSV"));
  rig.model.StartLog();
  EXPECT_TRUE(rig.prompts.shown().empty());
  EXPECT_EQ(rig.ctx.log.LogFileName(), rig.folder.Path("EMPTY.CSV"));
}

TEST(LogFileChoiceTest, NextFreeNameCountsOnBesideTheFile) {
  testing::TempFolder folder;
  EXPECT_EQ(NextFreeLogName(folder.Path("RUN.CSV")), folder.Path("RUN-1.CSV"));
  folder.Write("RUN-1.CSV", "x");
  EXPECT_EQ(NextFreeLogName(folder.Path("RUN.CSV")), folder.Path("RUN-2.CSV"));
  // A numbered name counts on from its own number.
  EXPECT_EQ(NextFreeLogName(folder.Path("RUN-7.CSV")),
            folder.Path("RUN-8.CSV"));
  // A dash that is part of the name stays.
  EXPECT_EQ(NextFreeLogName(folder.Path("DYNO-RUN.CSV")),
            folder.Path("DYNO-RUN-1.CSV"));
  EXPECT_EQ(NextFreeLogName("PLOTTER"), "PLOTTER-1");
}

TEST(PlotterModelTest, FastestLogsMillisecondsAndTitlesTheRateOfWholeSpans) {
  PlotterRig rig;
  rig.ctx.live.RPM = 3235;
  rig.model.ChooseInterval(kFastestIntervalEntry);
  EXPECT_DOUBLE_EQ(rig.model.SecondsPerSample(), 1 / kLineSamplesPerSecond);
  rig.model.StartLog();
  // 32 a second (a step the float clock holds exactly) over the first
  // whole second.
  for (int i = 0; i <= 32; ++i) {
    rig.model.TakeSample();
    rig.clock.Advance(1 / 32.0);
  }
  EXPECT_EQ(rig.model.title(),
            "DATA PLOTTER     32 Sample/Second,  .3 minute window");
  EXPECT_DOUBLE_EQ(rig.model.SecondsPerSample(), 1 / 32.0);
  rig.model.StopLog();
  const Texts lines = testing::CrLfLines(rig.folder.Read("PLOTTER.CSV"));
  ASSERT_EQ(lines.size(), 3u + 33u);
  EXPECT_EQ(lines[3].substr(0, 18), "14:05:09.000,3235,");
  EXPECT_EQ(lines[4].substr(0, 13), "14:05:09.031,");
  EXPECT_EQ(lines[35].substr(0, 13), "14:05:10.000,");
  // A standard interval again: its timer interval.
  rig.model.ChooseInterval(0);
  EXPECT_EQ(rig.ctx.console.log_interval_ms, 100);
  // The rate is measured over whole spans.
  SampleRate rate;
  EXPECT_FALSE(rate.per_second());
  for (int i = 0; i < 50; ++i) rate.Count(100 + i / 50.0);
  EXPECT_FALSE(rate.per_second());  // 0.98 s so far
  rate.Count(101);
  ASSERT_TRUE(rate.per_second());
  EXPECT_DOUBLE_EQ(*rate.per_second(), 50);
  // A stall shows as the span it took.
  rate.Count(103);
  EXPECT_DOUBLE_EQ(*rate.per_second(), 0.5);
  // A clock that went back starts over without a wild figure.
  rate.Count(50);
  rate.Count(50.5);
  EXPECT_DOUBLE_EQ(*rate.per_second(), 0.5);
}

TEST(ClockTest, MillisecondsAndHundredthsAreCutNotRounded) {
  EXPECT_EQ(MillisecondTimeText(14 * 3600 + 5 * 60 + 9.25), "14:05:09.250");
  EXPECT_EQ(MillisecondTimeText(59.9996), "00:00:59.999");
  EXPECT_EQ(MillisecondTimeText(86399.9999), "23:59:59.999");
  EXPECT_EQ(MillisecondTimeText(0), "00:00:00.000");
  testing::FakeClock clock(36000.5);
  EXPECT_EQ(clock.TimeTextWithMilliseconds(), "10:00:00.500");
  // The chart's stamp: hundredths that never carry.
  testing::FakeClock stamp(14 * 3600 + 5 * 60 + 9.37);
  EXPECT_EQ(ChartStampText(stamp), "14:05:09.37");
  testing::FakeClock late(14 * 3600 + 5 * 60 + 9.996);
  EXPECT_EQ(ChartStampText(late), "14:05:09.99");
}

// The captions after the read are checked on the window.
TEST(PlotterModelTest, LoadReadsTheConfigurationBeforeNamingTheFullScales) {
  PlotterRig rig;
  rig.ctx.link_state.demo_mode = false;
  rig.ctx.link.EnsureLink();
  rig.ctx.console.log_interval_ms = 500;
  rig.model.Load();
  ASSERT_EQ(rig.port.written().size(), 1u);
  EXPECT_EQ(rig.port.written()[0][2], 'C');
  EXPECT_EQ(rig.model.title(), PlotterTitle(500));
}

}  // namespace
}  // namespace ecu

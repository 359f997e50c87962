#include "core/readouts/plotter_model.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/console/log_file_choice.h"
#include "core/console/sample_rate.h"
#include "support/context_rig.h"
#include "support/temp_folder.h"
#include "support/text.h"

namespace ecu {
namespace {

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
  EXPECT_EQ(rig.prompts.texts(), std::vector<std::string>(2, kNotLogging));
  EXPECT_FALSE(rig.model.logging());
  rig.prompts.Clear();
  rig.model.StartLog();
  EXPECT_TRUE(rig.model.logging());
  EXPECT_TRUE(rig.prompts.shown().empty());
  rig.model.set_plot_file(rig.folder.Path("OTHER.CSV"));
  rig.model.StartLog();
  EXPECT_EQ(rig.prompts.texts(), std::vector<std::string>{kAlreadyLogging});
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
  const std::vector<std::string> lines =
      testing::CrLfLines(rig.folder.Read("PLOTTER.CSV"));
  ASSERT_EQ(lines.size(), 3u + 33u);
  EXPECT_EQ(lines[3].substr(0, 18), "14:05:09.000,3235,");
  EXPECT_EQ(lines[4].substr(0, 13), "14:05:09.031,");
  EXPECT_EQ(lines[35].substr(0, 13), "14:05:10.000,");
  // A described interval again: its timer interval.
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

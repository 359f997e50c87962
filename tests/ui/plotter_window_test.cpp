#include "ui/plotter_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QMenu>
#include <QPushButton>

#include "support/temp_folder.h"
#include "ui/console_rig.h"
#include "ui/monitor_window.h"

namespace ecu::testing {
namespace {

// The console in demo mode with the plotter opened from the View menu and
// logging set to go into a fresh folder.
struct PlotterRig : ConsoleRig {
  PlotterRig() : ConsoleRig({"demo"}) {
    prompts.Clear();
    window = OpenView<PlotterWindow>("menu_View_Plotter", View::kPlotter,
                                     /*loop_first=*/true);
    Find<QLineEdit>("plot_file")->setText(QString::fromStdString(log_path));
  }

  // Loop turns with both timers' flags raised, as at a 100 ms interval.
  void LogTicks(int count) {
    for (int i = 0; i < count; ++i) {
      ctx().console.log_tick = true;
      Ticks(1);
      clock.Advance(1);
    }
  }
  size_t LogLines() const { return CrLfLines(folder.Read("P.CSV")).size(); }
  void Click(const char* button) { Find<QPushButton>(button)->click(); }
  bool Checked(const char* entry) { return Find<QAction>(entry)->isChecked(); }

  TempFolder folder;
  const std::string log_path = folder.Path("P.CSV");
  PlotterWindow* window = nullptr;
};

TEST(PlotterWindowTest, CaptionsAndTheIntervalMenuSetTimerAndTitle) {
  PlotterRig rig;
  EXPECT_EQ(rig.window->windowTitle(),
            "DATA PLOTTER     1 Sample/Second,  10 minute window");
  EXPECT_EQ(rig.Find<QCheckBox>("Check3d1_0")->text(), "RPM [0 to 8000]");
  EXPECT_EQ(rig.Find<QCheckBox>("Check3d1_4")->text(),
            "Manifold Pressure [0 to 115 kPa]");
  EXPECT_FALSE(rig.Find<QPushButton>("Command3d3")->isEnabled());
  // Fastest comes after the described intervals.
  QStringList captions;
  for (const QAction* entry :
       rig.window->findChild<QMenu*>("menuloggingint")->actions()) {
    captions << entry->text();
  }
  EXPECT_EQ(captions, (QStringList{"100 mS&econds", "250 &mSeconds",
                                   "500 m&Seconds", "&1 Second", "&2 Seconds",
                                   "&5 Seconds", "1&0 Seconds", "&Fastest"}));

  ASSERT_TRUE(rig.Trigger("menu_log_int_0"));
  EXPECT_EQ(rig.ctx().console.log_interval_ms, 100);
  EXPECT_EQ(rig.window->windowTitle(),
            "DATA PLOTTER     10 Sample/Second,  1 minute window");
  EXPECT_TRUE(rig.Checked("menu_log_int_0"));
  EXPECT_FALSE(rig.Checked("menu_log_int_3"));

  ASSERT_TRUE(rig.Trigger("menu_log_int_7"));
  EXPECT_TRUE(rig.ctx().console.fastest_log);
  EXPECT_TRUE(rig.Checked("menu_log_int_7"));
  EXPECT_FALSE(rig.Checked("menu_log_int_0"));
  EXPECT_EQ(rig.window->windowTitle(),
            "DATA PLOTTER     Fastest, measuring the rate");
  // The timer keeps its interval for when a described entry is chosen.
  EXPECT_EQ(rig.ctx().console.log_interval_ms, 100);
  ASSERT_TRUE(rig.Trigger("menu_log_int_3"));
  EXPECT_FALSE(rig.ctx().console.fastest_log);
  EXPECT_FALSE(rig.Checked("menu_log_int_7"));
  EXPECT_EQ(rig.window->windowTitle(),
            "DATA PLOTTER     1 Sample/Second,  10 minute window");
  EXPECT_TRUE(rig.prompts.shown().empty());
}

TEST(PlotterWindowTest, LogsWhileOpenAndRefusesToCloseUntilHalted) {
  PlotterRig rig;
  rig.Click("Command3d2");
  EXPECT_FALSE(rig.Find<QLineEdit>("plot_file")->isEnabled());
  EXPECT_TRUE(rig.Find<QPushButton>("Command3d3")->isEnabled());
  rig.LogTicks(3);
  EXPECT_EQ(rig.Text("File_Samples"), " 3");
  EXPECT_EQ(rig.LogLines(), 3u + 3u);

  // Exit button and close box are both refused.
  rig.Click("Command3d1");
  rig.window->close();
  EXPECT_EQ(rig.prompts.texts(), std::vector<std::string>(2, kHaltBeforeExit));
  EXPECT_TRUE(rig.window->isVisible());

  rig.Click("Command3d3");
  EXPECT_TRUE(rig.Find<QLineEdit>("plot_file")->isEnabled());
  rig.LogTicks(1);
  EXPECT_EQ(rig.Text("File_Samples"), "N/A");
  EXPECT_EQ(rig.LogLines(), 6u);
  rig.Click("Command3d1");
  EXPECT_FALSE(rig.window->isVisible());
  EXPECT_TRUE(rig.app->main_window().isVisible());
}

// A switch while logging is told the same and still served: the plotter
// stays up with its file open, but samples stop with the loop's mode.
TEST(PlotterWindowTest, SwitchWhileLoggingOpensTheTargetAndKeepsTheFile) {
  PlotterRig rig;
  rig.Click("Command3d2");
  rig.LogTicks(1);
  ASSERT_TRUE(rig.Trigger("menu_mon"));
  EXPECT_EQ(rig.prompts.texts(), std::vector<std::string>{kHaltBeforeExit});
  rig.LogTicks(2);
  EXPECT_EQ(rig.ctx().console.live_window_mode, View::kMonitor);
  EXPECT_TRUE(rig.app->monitor().isVisible());
  EXPECT_TRUE(rig.window->isVisible());
  EXPECT_TRUE(rig.ctx().log.LogActive());
  EXPECT_EQ(rig.LogLines(), 3u + 1u);
  rig.Click("Command3d3");
  EXPECT_FALSE(rig.ctx().log.LogActive());
}

TEST(PlotterWindowTest, TickedChannelsChartAndAClickStampsTheChart) {
  PlotterRig rig;
  StripChart& chart = rig.window->chart();
  rig.LogTicks(1);
  EXPECT_EQ(chart.sample_count(), 0);
  rig.Find<QCheckBox>("Check3d1_0")->click();
  EXPECT_TRUE(chart.ChannelEnabled(0));
  EXPECT_FALSE(chart.ChannelEnabled(1));
  rig.LogTicks(2);
  EXPECT_EQ(chart.sample_count(), 2);
  // Demo speeds of 3210 to 3260 on the 8000 scale.
  EXPECT_GT(chart.ValueAt(0, 0), 3210.0 / 8000);
  EXPECT_LT(chart.ValueAt(0, 0), 3260.0 / 8000);
  QTest::mouseClick(&chart, Qt::LeftButton);
  EXPECT_EQ(chart.stamp_count(), 1);
}

// At the line's rate the window shows its samples on the display tick
// instead of once each, and the last one is not lost.
TEST(PlotterWindowTest, FastestShowsItsSamplesOnTheDisplayTick) {
  PlotterRig rig;
  rig.Find<QAction>("menu_log_int_7")->trigger();
  rig.Click("Command3d2");
  const QString shown = rig.Text("File_Samples");
  for (int i = 0; i < 3; ++i) rig.window->TakeSample();
  EXPECT_EQ(rig.LogLines(), 3 + 3);
  EXPECT_EQ(rig.Text("File_Samples"), shown);
  rig.window->RefreshDisplay();
  EXPECT_EQ(rig.Text("File_Samples"), " 3");
}

}  // namespace
}  // namespace ecu::testing

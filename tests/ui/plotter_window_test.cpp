#include "ui/plotter_window.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ui/console_rig.h"
#include "ui/monitor_window.h"

namespace ecu {
namespace {

using testing::ConsoleRig;

// The console in demo mode with the plotter opened from the View menu and
// logging set to go into a fresh folder.
struct PlotterRig : ConsoleRig {
  PlotterRig() : ConsoleRig({"demo"}) {
    prompts.Clear();
    // The loop runs before the user opens a window, as in the console.
    ctx().link.EnsureLink();
    EXPECT_TRUE(StartLoop());
    EXPECT_TRUE(Trigger("menu_View_Plotter"));
    window = static_cast<PlotterWindow*>(app->WindowOf(View::kPlotter));
    QApplication::processEvents();
    log_path = std::filesystem::temp_directory_path() /
               ("ecu-plot-" + std::to_string(::getpid()) + ".csv");
    Find<QLineEdit>("plot_file")
        ->setText(QString::fromStdString(log_path.string()));
  }
  ~PlotterRig() { std::filesystem::remove(log_path); }

  // Loop turns with both timers' flags raised, as at a 100 ms interval.
  void LogTicks(int count) {
    for (int i = 0; i < count; ++i) {
      ctx().console.log_tick = true;
      Ticks(1);
      clock.Advance(1);
    }
  }
  int LogLines() const {
    std::ifstream in(log_path, std::ios::binary);
    int lines = 0;
    for (std::string line; std::getline(in, line);) ++lines;
    return lines;
  }
  void Click(const char* button) { Find<QPushButton>(button)->click(); }

  PlotterWindow* window = nullptr;
  std::filesystem::path log_path;
};

TEST(PlotterWindowTest, LoadsCaptionsAndTheIntervalMenuSetsTimerAndTitle) {
  PlotterRig rig;
  ASSERT_NE(rig.window, nullptr);
  EXPECT_EQ(rig.window->windowTitle(),
            "DATA PLOTTER     1 Sample/Second,  10 minute window");
  EXPECT_EQ(rig.Find<QCheckBox>("Check3d1_0")->text(), "RPM [0 to 8000]");
  EXPECT_EQ(rig.Find<QCheckBox>("Check3d1_4")->text(),
            "Manifold Pressure [0 to 115 kPa]");
  EXPECT_FALSE(rig.Find<QPushButton>("Command3d3")->isEnabled());
  EXPECT_EQ(rig.window->findChild<QAction*>("menu_plot"), nullptr);

  ASSERT_TRUE(rig.Trigger("menu_log_int_0"));
  EXPECT_EQ(rig.ctx().console.log_interval_ms, 100);
  EXPECT_EQ(rig.window->windowTitle(),
            "DATA PLOTTER     10 Sample/Second,  1 minute window");
  EXPECT_TRUE(rig.Find<QAction>("menu_log_int_0")->isChecked());
  EXPECT_FALSE(rig.Find<QAction>("menu_log_int_3")->isChecked());
  EXPECT_TRUE(rig.prompts.shown().empty());
}

TEST(PlotterWindowTest, FastestComesAfterTheDescribedIntervals) {
  PlotterRig rig;
  const QMenu* menu = rig.window->findChild<QMenu*>("menuloggingint");
  ASSERT_NE(menu, nullptr);
  QStringList captions;
  for (const QAction* entry : menu->actions()) captions << entry->text();
  EXPECT_EQ(captions, (QStringList{"100 mS&econds", "250 &mSeconds",
                                   "500 m&Seconds", "&1 Second", "&2 Seconds",
                                   "&5 Seconds", "1&0 Seconds", "&Fastest"}));
  ASSERT_TRUE(rig.Trigger("menu_log_int_7"));
  EXPECT_TRUE(rig.ctx().console.fastest_log);
  EXPECT_TRUE(rig.Find<QAction>("menu_log_int_7")->isChecked());
  EXPECT_FALSE(rig.Find<QAction>("menu_log_int_3")->isChecked());
  EXPECT_EQ(rig.window->windowTitle(),
            "DATA PLOTTER     Fastest, measuring the rate");
  // The timer keeps its interval for when a described entry is chosen.
  EXPECT_EQ(rig.ctx().console.log_interval_ms, 1000);
  ASSERT_TRUE(rig.Trigger("menu_log_int_3"));
  EXPECT_FALSE(rig.ctx().console.fastest_log);
  EXPECT_FALSE(rig.Find<QAction>("menu_log_int_7")->isChecked());
  EXPECT_EQ(rig.window->windowTitle(),
            "DATA PLOTTER     1 Sample/Second,  10 minute window");
}

TEST(PlotterWindowTest, LogsWhileOpenAndRefusesToCloseUntilHalted) {
  PlotterRig rig;
  rig.Click("Command3d2");
  EXPECT_FALSE(rig.Find<QLineEdit>("plot_file")->isEnabled());
  EXPECT_TRUE(rig.Find<QPushButton>("Command3d3")->isEnabled());
  rig.LogTicks(3);
  EXPECT_EQ(rig.Text("File_Samples"), " 3");
  EXPECT_EQ(rig.LogLines(), 3 + 3);

  // Exit button and close box are both refused.
  rig.Click("Command3d1");
  rig.window->close();
  EXPECT_EQ(rig.prompts.texts(), std::vector<std::string>(2, kHaltBeforeExit));
  EXPECT_TRUE(rig.window->isVisible());

  rig.Click("Command3d3");
  EXPECT_TRUE(rig.Find<QLineEdit>("plot_file")->isEnabled());
  rig.LogTicks(1);
  EXPECT_EQ(rig.Text("File_Samples"), "N/A");
  EXPECT_EQ(rig.LogLines(), 6);
  rig.Click("Command3d1");
  EXPECT_FALSE(rig.window->isVisible());
  EXPECT_TRUE(rig.app->main_window().isVisible());
}

TEST(PlotterWindowTest, SwitchWhileLoggingOpensTheTargetAndKeepsTheFile) {
  PlotterRig rig;
  rig.Click("Command3d2");
  rig.LogTicks(1);
  ASSERT_TRUE(rig.Trigger("menu_mon"));
  EXPECT_EQ(rig.prompts.texts(), std::vector<std::string>{kHaltBeforeExit});
  EXPECT_TRUE(rig.ctx().console.SwitchRequest(View::kMonitor));
  rig.LogTicks(2);
  // The monitor took over; the plotter stays up with its file open, but
  // samples stop because the loop no longer runs the plotter's mode.
  EXPECT_EQ(rig.ctx().console.live_window_mode, View::kMonitor);
  EXPECT_TRUE(rig.app->monitor().isVisible());
  EXPECT_TRUE(rig.window->isVisible());
  EXPECT_TRUE(rig.ctx().log.LogActive());
  EXPECT_EQ(rig.LogLines(), 3 + 1);
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
}  // namespace ecu

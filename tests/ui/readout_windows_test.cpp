#include <gtest/gtest.h>

#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <set>

#include "support/temp_folder.h"
#include "ui/console_rig.h"
#include "ui/dashboard_window.h"
#include "ui/monitor_window.h"
#include "ui/plotter_window.h"

namespace ecu::testing {
namespace {

TEST(MonitorWindowTest, DemoModeMovesEveryReadoutButTheBarometer) {
  ConsoleRig rig({"demo"});
  EXPECT_EQ(rig.prompts.texts(),
            std::vector<std::string>{"Demo Mode has been selected, "
                                     "Communicatons will not be performed."});
  MonitorWindow* monitor =
      rig.OpenView<MonitorWindow>("Menu_View_Monitor", View::kMonitor);
  EXPECT_TRUE(monitor->isVisible());
  EXPECT_FALSE(rig.app->main_window().isVisible());
  std::set<QString> speeds;
  for (int i = 0; i < 10; ++i) {
    rig.Ticks(1);
    speeds.insert(rig.Text("ECU_Data_0"));
  }
  EXPECT_GT(speeds.size(), 3u);
  EXPECT_EQ(rig.Text("ECU_Data_14"), "101.2");
  EXPECT_EQ(rig.Text("ECU_Data_13"), "");
  EXPECT_TRUE(rig.port.written().empty());

  rig.FindIn<QPushButton>(monitor, "Command3d1")->click();
  EXPECT_FALSE(monitor->isVisible());
  EXPECT_TRUE(rig.app->main_window().isVisible());
  EXPECT_EQ(rig.ctx().console.live_window_mode, View::kNone);
}

// The configuration first, then each pass asks its seven frames in order
// (ecu-cli monitor polls with the same loop).
TEST(MonitorWindowTest, AgainstTheVirtualEcuEachPassAsksItsFramesInOrder) {
  ConsoleRig rig;
  rig.OpenView("Menu_View_Monitor", View::kMonitor);
  EXPECT_EQ(rig.TakeCodes(), std::vector<int>{'C'});
  rig.Ticks(2);
  const std::vector<int> pass = {'A', 'F', 'A', 'A', 152, 'A', 178};
  std::vector<int> two = pass;
  two.insert(two.end(), pass.begin(), pass.end());
  EXPECT_EQ(rig.TakeCodes(), two);
  EXPECT_GT(rig.Text("ECU_Data_0").toDouble(), 0);
  EXPECT_FALSE(rig.Text("group_delay").isEmpty());
  EXPECT_TRUE(rig.prompts.shown().empty());
}

DashboardWindow* OpenDashboard(ConsoleRig& rig) {
  rig.prompts.Clear();  // demo mode's
  return rig.OpenView<DashboardWindow>("menu_view_dashboard", View::kDashboard,
                                       /*loop_first=*/true);
}

TEST(DashboardWindowTest, DemoModeFillsAndMovesTheInstruments) {
  ConsoleRig rig({"demo"});
  DashboardWindow* window = OpenDashboard(rig);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(rig.FindIn<QLineEdit>(window, "ecu_pgm_1")->text(), "-.520");
  const Gauge& tach = window->gauge("tachometer");
  EXPECT_NEAR(tach.red_start(), 925 / 1023.0 * 8, 1e-9);
  EXPECT_EQ(rig.Text("control_ego_gain"), "0.00");

  rig.Ticks(3);
  EXPECT_THAT(tach.value(), AllOf(Ge(3.21), Le(3.26)));
  // Demo Gamma 1 to 1.15: lamps 7 to 10, one at a time.
  EXPECT_THAT(window->lamps().lit(), AllOf(Ge(7), Le(10)));
  int lamps_on = 0;
  for (int i = 0; i < kMixtureLamps; ++i) {
    lamps_on += window->lamps().lamp(i)->lit();
  }
  EXPECT_EQ(lamps_on, 1);
  EXPECT_NE(rig.Text("control_ego_gain"), "0.00");
  EXPECT_TRUE(rig.port.written().empty());

  // The hard filter entries.
  const auto filter = [window](int i) {
    return window->findChild<QAction*>(
        QString("menu_opts_tach_filt_num_%1").arg(i));
  };
  EXPECT_TRUE(filter(1)->isChecked());
  filter(0)->trigger();
  EXPECT_EQ(rig.ctx().live.TachFilterFactor, 0.2f);
  EXPECT_FALSE(filter(1)->isChecked());
}

TEST(DashboardWindowTest, KeysUpdateAndTheEgoSwitchTalkToTheEcu) {
  ConsoleRig rig;
  DashboardWindow* window = OpenDashboard(rig);
  EXPECT_EQ(rig.TakeCodes(), (std::vector<int>{'C', 'B'}));
  auto* scaler = rig.FindIn<QLineEdit>(window, "ecu_pgm_0");
  TypeOver(scaler, "65.5");
  EXPECT_EQ(Background(scaler), QColor(Qt::yellow));
  QTest::keyClick(scaler, Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(scaler->text(), "65.535");
  QTest::keyClick(scaler, Qt::Key_Return);
  EXPECT_EQ(rig.TakeCodes(), std::vector<int>{'m'});
  EXPECT_EQ(Background(scaler), QColor(Qt::white));

  rig.Find<QRadioButton>("ego_sw_1")->click();
  EXPECT_EQ(rig.TakeCodes(), std::vector<int>{'D'});
  EXPECT_FALSE(rig.Find<QRadioButton>("ego_sw_0")->isChecked());
  EXPECT_TRUE(rig.prompts.shown().empty());

  // Every showing reads both blocks again.
  rig.Find<QPushButton>("Command1")->click();
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(rig.app->main_window().isVisible());
  ASSERT_TRUE(rig.Trigger("menu_view_dashboard"));
  QApplication::processEvents();
  EXPECT_EQ(rig.TakeCodes(), (std::vector<int>{'C', 'B'}));
}

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
  // The timer keeps its interval for when a standard entry is chosen.
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

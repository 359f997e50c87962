#include <gtest/gtest.h>

#include <QPushButton>
#include <QRadioButton>
#include <set>

#include "ui/console_rig.h"
#include "ui/dashboard_window.h"
#include "ui/monitor_window.h"

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
  EXPECT_EQ(monitor->windowTitle(), "Real Time Monitor");
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
  EXPECT_GE(tach.value(), 3.21);
  EXPECT_LE(tach.value(), 3.26);
  // Demo Gamma 1 to 1.15: lamps 7 to 10, one at a time.
  EXPECT_GE(window->lamps().lit(), 7);
  EXPECT_LE(window->lamps().lit(), 10);
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

}  // namespace
}  // namespace ecu::testing

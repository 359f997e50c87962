#include <gtest/gtest.h>

#include <QPushButton>
#include <set>

#include "ui/about_window.h"
#include "ui/console_rig.h"
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

TEST(AboutWindowTest, DemoModeShowsNoIdentification) {
  ConsoleRig rig({"demo"});
  ASSERT_TRUE(rig.Trigger("menu_about"));
  rig.app->commands().ReadIdentification();
  EXPECT_EQ(rig.Text("FW_Rev"), "DEMO MODE");
  EXPECT_EQ(rig.Text("serial_num"), "Unknown");
  EXPECT_EQ(rig.Text("ECU_Rev"), "V1.01.03  09/14/08");
  EXPECT_TRUE(rig.app->main_window().isVisible());
}

// Focus back from another program is not an activation: the box would
// freeze for its reads after every alt-tab.
TEST(AboutWindowTest, ReadsAgainOnlyWhenComingFromAnotherConsoleWindow) {
  ConsoleRig rig;
  ASSERT_TRUE(rig.Trigger("menu_about"));
  AboutWindow& about = rig.app->about();
  about.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
  const std::vector<int> identification = {'R', '-'};
  ASSERT_EQ(rig.TakeCodes(), identification);
  EXPECT_EQ(rig.Text("FW_Rev"), "V1.01.03");
  EXPECT_EQ(rig.Text("serial_num"), "123456");
  QApplication::setActiveWindow(nullptr);
  QApplication::setActiveWindow(&about);
  EXPECT_TRUE(rig.TakeCodes().empty());
  QApplication::setActiveWindow(&rig.app->main_window());
  QApplication::setActiveWindow(&about);
  EXPECT_EQ(rig.TakeCodes(), identification);
}

}  // namespace
}  // namespace ecu::testing

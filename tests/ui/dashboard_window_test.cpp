#include "ui/dashboard_window.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QRadioButton>

#include "ui/console_rig.h"

namespace ecu::testing {
namespace {

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

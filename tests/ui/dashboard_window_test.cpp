#include "ui/dashboard_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "ui/console_rig.h"

namespace ecu {
namespace {

using testing::ConsoleRig;

// The console with the loop running and the dashboard opened from the
// View menu.
struct DashboardRig : ConsoleRig {
  explicit DashboardRig(std::vector<std::string> arguments = {})
      : ConsoleRig(std::move(arguments)) {
    prompts.Clear();
    ctx().link.EnsureLink();
    EXPECT_TRUE(StartLoop());
    port.ClearWritten();
    EXPECT_TRUE(Trigger("menu_view_dashboard"));
    window = static_cast<DashboardWindow*>(app->WindowOf(View::kDashboard));
    QApplication::processEvents();
  }
  QLineEdit* Box(int i) {
    return window->findChild<QLineEdit*>(QString("ecu_pgm_%1").arg(i));
  }
  DashboardWindow* window = nullptr;
};

TEST(DashboardWindowTest, DemoModeFillsScalesAndMovesTheInstruments) {
  DashboardRig rig({"demo"});
  ASSERT_NE(rig.window, nullptr);
  EXPECT_TRUE(rig.window->isVisible());
  EXPECT_EQ(rig.Box(1)->text(), "-.520");
  EXPECT_EQ(rig.Box(1)->palette().color(QPalette::Base), QColor(Qt::white));
  const Gauge& tach = rig.window->gauge("tachometer");
  EXPECT_NEAR(tach.red_start(), 925 / 1023.0 * 8, 1e-9);
  EXPECT_EQ(rig.Text("control_ego_gain"), "0.00");

  rig.Ticks(3);
  EXPECT_GE(tach.value(), 3.21);
  EXPECT_LE(tach.value(), 3.26);
  // Demo Gamma 1 to 1.15: lamps 7 to 10, one at a time.
  const int lit = rig.window->lamps().lit();
  EXPECT_GE(lit, 7);
  EXPECT_LE(lit, 10);
  int lamps_on = 0;
  for (int i = 0; i < kMixtureLamps; ++i) {
    lamps_on += rig.window->lamps().lamp(i)->lit();
  }
  EXPECT_EQ(lamps_on, 1);
  EXPECT_NE(rig.Text("control_ego_gain"), "0.00");
  EXPECT_TRUE(rig.port.written().empty());

  rig.Find<QPushButton>("Command1")->click();
  EXPECT_FALSE(rig.window->isVisible());
  EXPECT_TRUE(rig.app->main_window().isVisible());
}

TEST(DashboardWindowTest, KeysUpdateAndTheEgoSwitchTalkToTheEcu) {
  DashboardRig rig;
  EXPECT_EQ(rig.TakeCodes(), (std::vector<int>{'C', 'B'}));
  QLineEdit* scaler = rig.Box(0);
  ASSERT_NE(scaler, nullptr);
  scaler->setFocus();
  scaler->selectAll();
  QTest::keyClicks(scaler, "65.5");
  EXPECT_EQ(scaler->palette().color(QPalette::Base), QColor(Qt::yellow));
  QTest::keyClick(scaler, Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(scaler->text(), "65.535");
  QTest::keyClick(scaler, Qt::Key_Return);
  EXPECT_EQ(rig.TakeCodes(), std::vector<int>{'m'});
  EXPECT_EQ(scaler->palette().color(QPalette::Base), QColor(Qt::white));

  rig.Find<QRadioButton>("ego_sw_1")->click();
  EXPECT_EQ(rig.TakeCodes(), std::vector<int>{'D'});
  EXPECT_TRUE(rig.Find<QRadioButton>("ego_sw_1")->isChecked());
  EXPECT_FALSE(rig.Find<QRadioButton>("ego_sw_0")->isChecked());
  EXPECT_TRUE(rig.prompts.shown().empty());

  // Every showing reads both blocks again.
  rig.Find<QPushButton>("Command1")->click();
  ASSERT_TRUE(rig.Trigger("menu_view_dashboard"));
  QApplication::processEvents();
  EXPECT_EQ(rig.TakeCodes(), (std::vector<int>{'C', 'B'}));
}

TEST(DashboardWindowTest, HardFilterAndSwitchingToThePlotter) {
  DashboardRig rig({"demo"});
  const auto entry = [&](int i) {
    return rig.window->findChild<QAction*>(
        QString("menu_opts_tach_filt_num_%1").arg(i));
  };
  EXPECT_TRUE(entry(1)->isChecked());
  entry(0)->trigger();
  EXPECT_EQ(rig.ctx().live.TachFilterFactor, 0.2f);
  EXPECT_TRUE(entry(0)->isChecked());
  EXPECT_FALSE(entry(1)->isChecked());
  EXPECT_EQ(rig.window->findChild<QAction*>("menu_dash"), nullptr);
  rig.window->findChild<QAction*>("menu_plot")->trigger();
  EXPECT_FALSE(rig.window->isVisible());
  rig.Ticks(1);
  EXPECT_EQ(rig.ctx().console.live_window_mode, View::kPlotter);
}

}  // namespace
}  // namespace ecu

#include <gtest/gtest.h>

#include <QGridLayout>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include "qt/qt_prompts.h"
#include "ui/console_rig.h"
#include "ui/fuel_map_window.h"
#include "ui/monitor_window.h"

namespace ecu::testing {
namespace {

// The captions of a menu bar's entries, or of a menu's.
QStringList Captions(const QWidget* bar) {
  QStringList captions;
  for (const QAction* a : bar->actions()) captions << a->text();
  return captions;
}

// Where the window-switch entries sit: after the described menus, before
// the console's own additions.
QStringList SwitchCaptions(const QWidget* window) {
  static const QStringList kSwitches = {
      "&Monitor",        "&Dashboard",  "&Config.", "&Basic Map",
      "&Additional Map", "&Supp. Drv.", "&Plotter"};
  QStringList shown;
  for (const QString& caption : Captions(window->findChild<QMenuBar*>())) {
    if (kSwitches.contains(caption)) shown << caption;
  }
  return shown;
}

TEST(WindowCaptionsTest, ViewAndSwitchMenusAndTheMonitorRows) {
  ConsoleRig rig({"demo"});
  EXPECT_EQ(
      Captions(rig.app->main_window().findChild<QMenu*>("menu_view")),
      (QStringList{"&Monitor", "&Dashboard", "&Configuration", "&Basic Mapping",
                   "&Additional Mapping", "&Supplimental Driver", "&Plotter"}));
  auto* monitor =
      rig.OpenView<MonitorWindow>("Menu_View_Monitor", View::kMonitor);
  EXPECT_EQ(SwitchCaptions(monitor),
            (QStringList{"&Dashboard", "&Config.", "&Basic Map",
                         "&Additional Map", "&Supp. Drv.", "&Plotter"}));
  // Name and unit of each read-out row, top to bottom.
  const auto* grid = monitor->centralWidget()->findChild<QGridLayout*>();
  ASSERT_NE(grid, nullptr);
  QStringList rows;
  for (int r = 0; r < grid->rowCount(); ++r) {
    const auto text = [&](int column) {
      QLayoutItem* item = grid->itemAtPosition(r, column);
      auto* label = item ? qobject_cast<QLabel*>(item->widget()) : nullptr;
      return label ? label->text() : QString();
    };
    rows << text(0) + "|" + text(2);
  }
  EXPECT_EQ(rows, (QStringList{"Engine Speed|RPM", "A/F Ratio|Lamda",
                               "Coolant Temp.|\u00B0C", "AirTemp.|\u00B0C",
                               "Throttle Position|%", "Manifold Pressure|kPa",
                               "Barometic Pressure|kPa", "Injection PW|ms",
                               "Accel Enrichment|ms", "EGO Correction|Gamma",
                               "MAP Enrichment|Gamma", "CLT Enrichment|Gamma",
                               "Battery Voltage|Volts DC", "AUX Input|Volts DC",
                               "IAC State|", "IAC Error|", "IAC Position|",
                               "IAC RPM SETPOINT|RPM"}));

  rig.Trigger("menu_3d");
  auto* map = static_cast<FuelMapWindow*>(rig.app->WindowOf(View::kFuelMap));
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(SwitchCaptions(map),
            (QStringList{"&Monitor", "&Dashboard", "&Config.",
                         "&Additional Map", "&Supp. Drv.", "&Plotter"}));
}

// A question's default button is the one Enter presses.
TEST(WindowCaptionsTest, MessageBoxesPutTheDefaultOnTheButtonAsked) {
  QtPrompts prompts;
  QStringList defaults;
  for (int which : {0, 1}) {
    QTimer::singleShot(0, [&defaults] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      defaults << box->defaultButton()->text();
      box->defaultButton()->click();
    });
    const Answer answer = prompts.Show({.text = "Continue?",
                                        .buttons = Buttons::kYesNo,
                                        .title = "ECU",
                                        .icon = Icon::kQuestion,
                                        .default_button = which});
    EXPECT_EQ(answer, which == 0 ? Answer::kYes : Answer::kNo);
  }
  EXPECT_EQ(defaults, (QStringList{"&Yes", "&No"}));
}

}  // namespace
}  // namespace ecu::testing

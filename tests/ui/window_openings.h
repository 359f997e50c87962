#ifndef ECU_TESTS_UI_WINDOW_OPENINGS_H_
#define ECU_TESTS_UI_WINDOW_OPENINGS_H_

#include <QWidget>
#include <functional>
#include <vector>

#include "ui/about_window.h"
#include "ui/advisor_tools.h"
#include "ui/advisor_window.h"
#include "ui/compare_window.h"
#include "ui/console_rig.h"
#include "ui/flash_utility_window.h"
#include "ui/fuel_map_window.h"
#include "ui/workbench.h"

namespace ecu::testing {

// Every window of the console, and how a user brings it up.
struct Opening {
  const char* name;
  std::function<QWidget*(ConsoleRig&)> open;
};

// A view window, opened from its View menu entry.
inline Opening ViewOpening(const char* name, const char* entry, View view) {
  return {name, [entry, view](ConsoleRig& rig) {
            QWidget* window = rig.OpenView(entry, view, /*loop_first=*/true);
            rig.Ticks(2);
            return window;
          }};
}

inline FuelMapWindow* FuelMap(ConsoleRig& rig) {
  return static_cast<FuelMapWindow*>(
      ViewOpening("", "menu_View_Mapping", View::kFuelMap).open(rig));
}

inline const std::vector<Opening>& Windows() {
  static const std::vector<Opening> windows = {
      {"main",
       [](ConsoleRig& rig) -> QWidget* { return &rig.app->main_window(); }},
      ViewOpening("monitor", "Menu_View_Monitor", View::kMonitor),
      ViewOpening("dashboard", "menu_view_dashboard", View::kDashboard),
      ViewOpening("plotter", "menu_View_Plotter", View::kPlotter),
      ViewOpening("curves", "menu_view_temperature", View::kCurves),
      ViewOpening("supplementary", "menu_View_supp", View::kSupplementary),
      ViewOpening("configuration", "Menu_View_Injection", View::kConfiguration),
      {"fuel map", FuelMap},
      {"surface graph",
       [](ConsoleRig& rig) -> QWidget* {
         FuelMapWindow* map = FuelMap(rig);
         map->editor().graph().Show();
         return map->graph_window();
       }},
      {"block modifier",
       [](ConsoleRig& rig) -> QWidget* {
         FuelMapWindow* map = FuelMap(rig);
         map->modifier_window()->show();
         return map->modifier_window();
       }},
      {"flash utility",
       [](ConsoleRig& rig) -> QWidget* {
         rig.port.ecu()->controller().awaiting_firmware = true;
         rig.app->set_flash_port(&rig.port);
         rig.app->ShowFlashUtility();
         return rig.app->flash_utility();
       }},
      {"compare",
       [](ConsoleRig& rig) -> QWidget* {
         rig.app->workbench().ShowCompare();
         return rig.app->workbench().compare_window();
       }},
      {"map advisor",
       [](ConsoleRig& rig) -> QWidget* {
         rig.app->advisor_tools().ShowAdvisor();
         return rig.app->advisor_tools().advisor();
       }},
      {"about",
       [](ConsoleRig& rig) -> QWidget* {
         rig.Trigger("menu_about");
         return &rig.app->about();
       }},
  };
  return windows;
}

}  // namespace ecu::testing

#endif  // ECU_TESTS_UI_WINDOW_OPENINGS_H_

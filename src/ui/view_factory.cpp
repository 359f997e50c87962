#include "ui/configuration_window.h"
#include "ui/console_app.h"
#include "ui/curve_window.h"
#include "ui/dashboard_window.h"
#include "ui/fuel_map_window.h"
#include "ui/main_window.h"
#include "ui/monitor_window.h"
#include "ui/plotter_window.h"
#include "ui/supplementary_window.h"

namespace ecu {

std::unique_ptr<ViewWindow> MakeViewWindow(View view, ConsoleApp& app) {
  switch (view) {
    case View::kMonitor:
      return std::make_unique<MonitorWindow>(app.context(), app.views(),
                                             app.monitor_text());
    case View::kDashboard:
      return std::make_unique<DashboardWindow>(app.context(), app.views(),
                                               app.oem_picture());
    case View::kPlotter:
      return std::make_unique<PlotterWindow>(
          app.context(), app.views(),
          [&app](int ms) { app.main_window().SetLogInterval(ms); });
    case View::kFuelMap:
      return std::make_unique<FuelMapWindow>(app.context(), app.views());
    case View::kCurves:
      return std::make_unique<CurveWindow>(app.context(), app.views());
    case View::kSupplementary:
      return std::make_unique<SupplementaryWindow>(app.context(), app.views());
    case View::kConfiguration:
      return std::make_unique<ConfigurationWindow>(app.context(), app.views());
    default:
      return nullptr;
  }
}

}  // namespace ecu

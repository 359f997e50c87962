#include "ui/console_app.h"
#include "ui/monitor_window.h"

namespace ecu {

std::unique_ptr<ViewWindow> MakeViewWindow(View view, ConsoleApp& app) {
  switch (view) {
    case View::kMonitor:
      return std::make_unique<MonitorWindow>(app.context(), app.views());
    default:
      return nullptr;
  }
}

}  // namespace ecu

#include "core/console/views.h"

#include <tuple>

#include "core/calibration/calibration_requests.h"

namespace ecu {

void Views::OpenView(View view) {
  if (!host_.HasView(view)) return;
  EcuLink& link = ctx_.link;
  ConsoleState& console = ctx_.console;
  switch (view) {
    case View::kMonitor:
      link.EnsureLink();
      console.live_window_mode = view;
      link.TouchReceiveTime();
      host_.HideMain();
      host_.ShowView(view);
      monitor_.Invalidate();
      return;
    case View::kDashboard:
      console.live_window_mode = view;
      link.TouchReceiveTime();
      link.EnsureLink();
      host_.HideMain();
      host_.ShowView(view);
      return;
    case View::kConfiguration:
    case View::kCurves:
      link.EnsureLink();
      console.live_window_mode = view;
      link.TouchReceiveTime();
      host_.ShowView(view);
      host_.HideMain();
      return;
    case View::kFuelMap:
    case View::kPlotter:
    case View::kSupplementary:
      // These windows scale their axes from the configuration block.
      link.EnsureLink();
      link.Pause(0.2);
      std::ignore = ReadConfigurationBlock(link);
      link.Pause(0.2);
      console.live_window_mode = view;
      link.TouchReceiveTime();
      host_.ShowView(view);
      host_.HideMain();
      return;
    case View::kNone:
      return;
  }
}

void Views::CloseView(View view) {
  ctx_.console.live_window_mode = View::kNone;
  host_.HideView(view);
  host_.ShowMain();
}

void Views::RequestSwitch(View target) {
  ctx_.console.SwitchRequest(target) = true;
}

void Views::ServeSwitchRequests() {
  for (View view : kSwitchOrder) {
    bool& request = ctx_.console.SwitchRequest(view);
    if (request) {
      request = false;
      OpenView(view);
    }
  }
}

}  // namespace ecu

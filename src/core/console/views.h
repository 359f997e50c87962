#ifndef ECU_CORE_CONSOLE_VIEWS_H_
#define ECU_CORE_CONSOLE_VIEWS_H_

#include "core/console/console_state.h"
#include "core/ecu_context.h"
#include "core/readouts/monitor_text.h"

namespace ecu {

// What the window layer does when the console opens or closes a view: the
// console decides, the host shows and hides.
class WindowHost {
 public:
  virtual ~WindowHost() = default;
  // Shows the view window modeless, creating it on first use.
  virtual void ShowView(View view) = 0;
  virtual void HideView(View view) = 0;
  virtual void ShowMain() = 0;
  virtual void HideMain() = 0;
  // Whether the view's window exists in this build (entries appear only for
  // windows that do).
  virtual bool HasView(View view) const = 0;
};

// Opening, closing and switching the view windows: only one is in use at a
// time, and the main window is hidden meanwhile.
class Views {
 public:
  Views(EcuContext& ctx, WindowHost& host, MonitorText& monitor)
      : ctx_(ctx), host_(host), monitor_(monitor) {}

  // OpenView: the steps of each window, in their order.
  void OpenView(View view);
  // A view window closes: LiveWindowMode 0, hide it, show the main window.
  void CloseView(View view);
  // A switch entry of a view window sets the target's request; the window
  // then closes itself as its exit does (the plotter may refuse while it
  // logs, and the request stays set all the same).
  void RequestSwitch(View target);
  // The loop, on a poll tick: serves the requests in their order.
  void ServeSwitchRequests();

  WindowHost& host() { return host_; }

 private:
  EcuContext& ctx_;
  WindowHost& host_;
  MonitorText& monitor_;
};

}  // namespace ecu

#endif  // ECU_CORE_CONSOLE_VIEWS_H_

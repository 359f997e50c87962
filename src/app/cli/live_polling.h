#ifndef ECU_APP_CLI_LIVE_POLLING_H_
#define ECU_APP_CLI_LIVE_POLLING_H_

#include <signal.h>

#include <chrono>

#include "core/console/demo_simulation.h"
#include "core/console/polling_loop.h"
#include "core/console/views.h"
#include "core/ecu_context.h"
#include "core/readouts/monitor_text.h"

namespace ecu::cli {

// The console's opening steps and polling pass of one view window, without
// windows: the same code, so ecu-cli asks the ECU exactly what the window
// would.
class LivePolling {
 public:
  explicit LivePolling(EcuContext& ctx) : ctx_(ctx) {}

  // The view's OpenView steps (the plotter's reads the configuration).
  void Open(View view) { views_.OpenView(view); }
  // One polling pass of the open view.
  void Pass() { loop_.PollingPass(); }

 private:
  // Every view "exists"; showing and hiding are nothing here.
  class NoWindows : public WindowHost {
   public:
    void ShowView(View) override {}
    void HideView(View) override {}
    void ShowMain() override {}
    void HideMain() override {}
    bool HasView(View) const override { return true; }
  };

  EcuContext& ctx_;
  NoWindows host_;
  MonitorText monitor_;
  DemoSimulation demo_;
  Views views_{ctx_, host_, monitor_};
  PollingLoop loop_{ctx_, views_, monitor_, demo_};
};

// The console's timers for a run that lasts until a count is reached or
// the user presses Ctrl+C. SIGINT and SIGTERM are held back except while
// waiting, so a transaction or a log line is never cut in half.
class Ticker {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;

  Ticker();
  ~Ticker();
  Ticker(const Ticker&) = delete;
  Ticker& operator=(const Ticker&) = delete;

  static TimePoint Now() { return std::chrono::steady_clock::now(); }
  // Sleeps until `deadline`; false once the run has been interrupted.
  bool WaitUntil(TimePoint deadline);
  bool interrupted() const { return interrupted_; }

 private:
  sigset_t held_;
  sigset_t previous_;
  bool interrupted_ = false;
};

// A timer of `period` ms: due once its time has come; ticks that passed
// while the program was busy merge into one, as a timer flag does.
class Timer {
 public:
  Timer(Ticker::TimePoint start, int period_ms)
      : period_(period_ms), next_(start + period_) {}
  Ticker::TimePoint next() const { return next_; }
  bool TakeDue(Ticker::TimePoint now);

 private:
  std::chrono::milliseconds period_;
  Ticker::TimePoint next_;
};

}  // namespace ecu::cli

#endif  // ECU_APP_CLI_LIVE_POLLING_H_

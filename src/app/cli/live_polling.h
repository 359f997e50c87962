#ifndef ECU_APP_CLI_LIVE_POLLING_H_
#define ECU_APP_CLI_LIVE_POLLING_H_

#include <chrono>
#include <string>

#include "app/cli/cli_session.h"
#include "app/cli/stop_signals.h"
#include "core/console/demo_simulation.h"
#include "core/console/polling_loop.h"
#include "core/console/views.h"
#include "core/readouts/monitor_text.h"

namespace ecu::cli {

// Passes in a row without an answer after which a run that does not wait
// gives up: a silent ECU costs 1.25 s a request.
inline constexpr int kSilentPasses = 3;

// The console's opening steps and polling pass of one view window, without
// windows: the same code, so ecu-cli asks the ECU exactly what the window
// would. And what a run does when the ECU goes away: unless told to wait it
// ends once the port is lost or kSilentPasses passes in a row went
// unanswered; told to wait, it reopens the lost port about once a second
// and goes on, reading the configuration first as after start-up.
class LivePolling {
 public:
  LivePolling(CliSession& session, bool wait_for_port)
      : session_(session), wait_(wait_for_port) {}

  // The view's OpenView steps, then the configuration block the console's
  // loop reads before its first pass (the RPM and MAP scaling come from
  // it); the plotter has just read it on opening.
  void Open(View view);
  // One polling pass of the open view; true when every request of it was
  // answered, so that LiveData holds new values.
  bool Pass();
  // The ECU has gone and the run does not wait for it; the user was told.
  bool gone() const { return gone_; }
  // Ctrl-C and SIGTERM, held while the run lasts.
  StopSignals& stop() { return stop_; }

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

  void PortLost(const std::string& reason);
  void ReadConfiguration();

  CliSession& session_;
  bool wait_;
  StopSignals stop_;
  NoWindows host_;
  MonitorText monitor_;
  DemoSimulation demo_;
  Views views_{session_.ctx, host_, monitor_};
  PollingLoop loop_{session_.ctx, views_, monitor_, demo_};
  int silent_passes_ = 0;
  bool gone_ = false;
};

// A timer of `period` ms: due once its time has come; ticks that passed
// while the program was busy merge into one, as a timer flag does.
class Timer {
 public:
  using TimePoint = StopSignals::TimePoint;
  static TimePoint Now() { return std::chrono::steady_clock::now(); }

  Timer(TimePoint start, int period_ms);
  TimePoint next() const { return next_; }
  bool TakeDue(TimePoint now);

 private:
  std::chrono::milliseconds period_;
  TimePoint next_;
};

}  // namespace ecu::cli

#endif  // ECU_APP_CLI_LIVE_POLLING_H_

#ifndef ECU_APP_CLI_STOP_SIGNALS_H_
#define ECU_APP_CLI_STOP_SIGNALS_H_

#include <signal.h>

#include <chrono>

namespace ecu::cli {

// Ctrl-C (SIGINT) and a polite kill (SIGTERM), held back while this lives,
// so that a run ends between two steps and cleans up after itself instead
// of dying in the middle of a transaction, a log line or a half-written
// file. The run asks whether one came; long sleeps wake for it (see
// SystemClock::Sleep). A signal still pending at the end is dropped: the
// run has already ended because of it.
class StopSignals {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;

  StopSignals();
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // True once a stop signal has come; it stays true.
  bool Requested();
  // Sleeps until `deadline` or a stop signal; false once one has come.
  bool WaitUntil(TimePoint deadline);

 private:
  sigset_t held_;
  sigset_t previous_;
  bool requested_ = false;
};

}  // namespace ecu::cli

#endif  // ECU_APP_CLI_STOP_SIGNALS_H_

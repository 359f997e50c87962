#include "app/cli/stop_signals.h"

#include <ctime>

#include "core/platform/clock.h"

namespace ecu::cli {

StopSignals::StopSignals() {
  sigemptyset(&held_);
  sigaddset(&held_, SIGINT);
  sigaddset(&held_, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &held_, &previous_);
}

StopSignals::~StopSignals() {
  const timespec now{0, 0};
  while (sigtimedwait(&held_, nullptr, &now) > 0) {
  }
  pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

bool StopSignals::Requested() {
  const timespec now{0, 0};
  if (!requested_ && sigtimedwait(&held_, nullptr, &now) > 0) {
    requested_ = true;
  }
  return requested_;
}

bool StopSignals::WaitUntil(TimePoint deadline) {
  while (!Requested()) {
    const double left = std::chrono::duration<double>(
                            deadline - std::chrono::steady_clock::now())
                            .count();
    if (left <= 0) break;
    const timespec wait = WaitTimespec(left);
    if (sigtimedwait(&held_, nullptr, &wait) > 0) requested_ = true;
  }
  return !requested_;
}

}  // namespace ecu::cli

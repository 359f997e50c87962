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
    // Bounded before it becomes whole seconds and nanoseconds.
    const auto ns = static_cast<long long>(BoundedWait(left) * 1e9);
    const timespec wait{static_cast<time_t>(ns / 1'000'000'000),
                        static_cast<long>(ns % 1'000'000'000)};
    if (sigtimedwait(&held_, nullptr, &wait) > 0) requested_ = true;
  }
  return !requested_;
}

}  // namespace ecu::cli

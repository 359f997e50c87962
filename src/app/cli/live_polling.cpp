#include "app/cli/live_polling.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>

namespace ecu::cli {

Ticker::Ticker() {
  sigemptyset(&held_);
  sigaddset(&held_, SIGINT);
  sigaddset(&held_, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &held_, &previous_);
}

Ticker::~Ticker() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

bool Ticker::WaitUntil(TimePoint deadline) {
  while (!interrupted_) {
    const auto left = deadline - Now();
    if (left <= TimePoint::duration::zero()) {
      // A signal that came during a transaction still ends the run.
      const timespec none{0, 0};
      if (sigtimedwait(&held_, nullptr, &none) > 0) interrupted_ = true;
      break;
    }
    const auto ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    const timespec wait{static_cast<time_t>(ns / 1000000000),
                        static_cast<long>(ns % 1000000000)};
    if (sigtimedwait(&held_, nullptr, &wait) > 0) interrupted_ = true;
  }
  return !interrupted_;
}

bool Timer::TakeDue(Ticker::TimePoint now) {
  if (now < next_) return false;
  while (next_ <= now) next_ += period_;
  return true;
}

}  // namespace ecu::cli

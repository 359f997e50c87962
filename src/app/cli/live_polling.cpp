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

bool ParseCount(const std::string& text, long minimum, long* value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  errno = 0;
  const long parsed = std::strtol(text.c_str(), nullptr, 10);
  if (errno != 0 || parsed < minimum) return false;
  *value = parsed;
  return true;
}

}  // namespace ecu::cli

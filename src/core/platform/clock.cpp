#include "core/platform/clock.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ecu {

double BoundedWait(double seconds) {
  // Written so that not-a-number fails the first test.
  if (!(seconds > 0)) return 0;
  return std::min(seconds, kLongestWaitSeconds);
}

double BoundedTimedWait(double seconds) {
  return std::min(BoundedWait(seconds), kLongestTimedWaitSeconds);
}

int WaitMilliseconds(double seconds) {
  const double ms = std::round(BoundedWait(seconds) * 1000.0);
  return ms < 1 ? 1 : static_cast<int>(ms);
}

std::timespec WaitTimespec(double seconds) {
  seconds = BoundedWait(seconds);
  std::timespec wait{};
  wait.tv_sec = static_cast<std::time_t>(seconds);
  const double nanoseconds =
      std::round((seconds - static_cast<double>(wait.tv_sec)) * 1e9);
  wait.tv_nsec = std::min(static_cast<long>(nanoseconds), 999'999'999L);
  return wait;
}

std::string MillisecondTimeText(double seconds) {
  // Whole milliseconds, cut rather than rounded: .9996 must not carry into
  // the next second. The nanosecond keeps 0.25 s summed from steps from
  // showing as .249.
  long long ms = static_cast<long long>(std::floor(seconds * 1000 + 1e-6));
  ms = std::clamp(ms, 0LL, 86'400'000LL - 1);
  char text[16];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%03lld",
                ms / 3'600'000, ms / 60'000 % 60, ms / 1000 % 60, ms % 1000);
  return text;
}

std::string Clock::TimeTextWithMilliseconds() {
  return MillisecondTimeText(SecondsSinceMidnight());
}

float ElapsedSince(float since, float now) {
  float elapsed = now - since;
  if (elapsed < -0.1f) elapsed += 86400.0f;
  return elapsed;
}

}  // namespace ecu

#ifndef ECU_TESTS_SUPPORT_FAKE_CLOCK_H_
#define ECU_TESTS_SUPPORT_FAKE_CLOCK_H_

#include <cmath>
#include <cstdio>
#include <string>

#include "core/platform/clock.h"

namespace ecu::testing {

// Virtual time: it moves only when someone sleeps or waits on it, so a
// ten-attempt time-out costs no real second. Time runs on past midnight.
class FakeClock : public Clock {
 public:
  explicit FakeClock(double start_seconds = 36000.0) : now_(start_seconds) {}

  float SecondsSinceMidnight() override {
    return static_cast<float>(std::fmod(now_, 86400.0));
  }
  // Cut to a day, as the real clock's sleeps are.
  void Sleep(double seconds) override { now_ += BoundedWait(seconds); }
  std::string TimeText() override {
    const long s = static_cast<long>(std::fmod(now_, 86400.0));
    char text[32];
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", s / 3600,
                  (s / 60) % 60, s % 60);
    return text;
  }
  std::string DateText() override { return "09-14-2008"; }

  // Monotonic virtual seconds since the clock was made (not wrapped).
  double now() const { return now_; }
  void Advance(double seconds) { now_ += seconds; }

 private:
  double now_;
};

}  // namespace ecu::testing

#endif  // ECU_TESTS_SUPPORT_FAKE_CLOCK_H_

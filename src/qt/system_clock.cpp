#include "qt/system_clock.h"

#include <signal.h>
#include <time.h>

#include <QDate>
#include <QTime>
#include <algorithm>
#include <cerrno>
#include <chrono>

namespace ecu {

float SystemClock::SecondsSinceMidnight() {
  return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay() /
                            1000.0);
}

namespace {

// A long sleep looks up between slices whether it should end early.
constexpr double kSleepSlice = 0.1;

// Ctrl-C or a polite kill, held back by a command-line run that wants to
// finish its current step first, ends a long sleep so that the step after
// it can notice the signal.
bool StopSignalPending() {
  sigset_t pending;
  if (sigpending(&pending) != 0) return false;
  return sigismember(&pending, SIGINT) == 1 ||
         sigismember(&pending, SIGTERM) == 1;
}

void SleepFor(double seconds) {
  timespec wait = WaitTimespec(seconds);
  while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
  }
}

}  // namespace

void SystemClock::Sleep(double seconds) {
  seconds = BoundedWait(seconds);
  const auto end =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    const double left =
        std::chrono::duration<double>(end - std::chrono::steady_clock::now())
            .count();
    if (left <= 0) return;
    SleepFor(std::min(left, kSleepSlice));
    if (StopSignalPending()) return;
  }
}

std::string SystemClock::TimeText() {
  return QTime::currentTime().toString("hh:mm:ss").toStdString();
}

std::string SystemClock::TimeTextWithMilliseconds() {
  // One reading, and not through the float seconds, whose last bits are
  // worth several milliseconds late in the day.
  return QTime::currentTime().toString("hh:mm:ss.zzz").toStdString();
}

std::string SystemClock::DateText() {
  return QDate::currentDate().toString("MM-dd-yyyy").toStdString();
}

}  // namespace ecu

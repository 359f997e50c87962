#ifndef ECU_CORE_PLATFORM_CLOCK_H_
#define ECU_CORE_PLATFORM_CLOCK_H_

#include <ctime>
#include <string>

namespace ecu {

// Wall-clock time as the console reads it.
class Clock {
 public:
  virtual ~Clock() = default;

  // Seconds since local midnight, single precision as the ECU link expects.
  virtual float SecondsSinceMidnight() = 0;
  // Sleeps without processing window messages.
  virtual void Sleep(double seconds) = 0;
  // "14:05:09" (24-hour clock).
  virtual std::string TimeText() = 0;
  // "09-14-2008" (month-day-year).
  virtual std::string DateText() = 0;
  // "14:05:09.250": the time with its milliseconds, for logs that take
  // many samples a second.
  virtual std::string TimeTextWithMilliseconds();
};

// The longest single wait anything here makes: a day. A wait is cut to it,
// and a negative or not-a-number one to 0, before it becomes whole ticks of
// a system call, where a larger number would overflow into nonsense.
inline constexpr double kLongestWaitSeconds = 86400.0;
double BoundedWait(double seconds);
// A bounded wait as the ticks of the calls that take them: whole
// milliseconds, rounded and at least 1 (0 would not wait at all), or a
// timespec with its nanoseconds below a second.
int WaitMilliseconds(double seconds);
// The longest wait timed on seconds since midnight: the midnight rule tells
// elapsed times only below a day, so a longer (or not-a-number) wait would
// never end. Such a wait is cut to half a day, a negative one to 0.
inline constexpr double kLongestTimedWaitSeconds = 43200.0;
double BoundedTimedWait(double seconds);
std::timespec WaitTimespec(double seconds);

// "14:05:09.250" for seconds since midnight.
std::string MillisecondTimeText(double seconds);

// Elapsed seconds from `since` to `now`, with the midnight rule: an elapsed
// time below -0.1 s means the clock passed midnight, so a day is added.
float ElapsedSince(float since, float now);

}  // namespace ecu

#endif  // ECU_CORE_PLATFORM_CLOCK_H_

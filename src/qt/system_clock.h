#ifndef ECU_QT_SYSTEM_CLOCK_H_
#define ECU_QT_SYSTEM_CLOCK_H_

#include "core/platform/clock.h"

namespace ecu {

// The machine's local wall clock.
class SystemClock : public Clock {
 public:
  float SecondsSinceMidnight() override;
  void Sleep(double seconds) override;
  std::string TimeText() override;
  std::string TimeTextWithMilliseconds() override;
  std::string DateText() override;
};

}  // namespace ecu

#endif  // ECU_QT_SYSTEM_CLOCK_H_

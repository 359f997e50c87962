#ifndef ECU_TESTS_SUPPORT_COUNTING_PUMP_H_
#define ECU_TESTS_SUPPORT_COUNTING_PUMP_H_

#include <functional>

#include "core/platform/event_pump.h"

namespace ecu::testing {

// Counts the points at which window messages would run, and can run a
// scripted "user action" at one of them.
class CountingPump : public EventPump {
 public:
  void ProcessPending() override {
    ++count_;
    if (on_pump_) on_pump_();
  }
  void WaitAndProcess(double) override { ProcessPending(); }

  int count() const { return count_; }
  void set_on_pump(std::function<void()> f) { on_pump_ = std::move(f); }

 private:
  int count_ = 0;
  std::function<void()> on_pump_;
};

}  // namespace ecu::testing

#endif  // ECU_TESTS_SUPPORT_COUNTING_PUMP_H_

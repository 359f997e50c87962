#ifndef ECU_TESTS_SUPPORT_COUNTING_PUMP_H_
#define ECU_TESTS_SUPPORT_COUNTING_PUMP_H_

#include <functional>
#include <utility>
#include <vector>

#include "core/platform/event_pump.h"

namespace ecu::testing {

// Counts the points at which window messages would run, and can run a
// scripted "user action" at one of them.
class CountingPump : public EventPump {
 public:
  void ProcessPending() override {
    ++count_;
    if (on_pump_) on_pump_();
    RunPosted();
  }
  void WaitAndProcess(double) override { ProcessPending(); }
  void Post(std::function<void()> action) override {
    posted_.push_back(std::move(action));
  }
  // What was posted so far runs, as the next served messages would.
  void RunPosted() {
    for (auto& action : std::exchange(posted_, {})) action();
  }

  int count() const { return count_; }
  void set_on_pump(std::function<void()> f) { on_pump_ = std::move(f); }

 private:
  int count_ = 0;
  std::function<void()> on_pump_;
  std::vector<std::function<void()>> posted_;
};

}  // namespace ecu::testing

#endif  // ECU_TESTS_SUPPORT_COUNTING_PUMP_H_

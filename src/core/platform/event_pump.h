#ifndef ECU_CORE_PLATFORM_EVENT_PUMP_H_
#define ECU_CORE_PLATFORM_EVENT_PUMP_H_

#include <functional>

namespace ecu {

// Lets pending window messages run at the points the link allows.
class EventPump {
 public:
  virtual ~EventPump() = default;
  // Processes the window messages that are pending now, once.
  virtual void ProcessPending() = 0;
  // Blocks until at least one message arrives (or `max_seconds` pass), then
  // processes what is pending. Used by the idle polling loop.
  virtual void WaitAndProcess(double max_seconds) = 0;
  // Runs `action` once the messages pending now have been served (a window
  // just shown has been painted). Without windows it runs at once.
  virtual void Post(std::function<void()> action) { action(); }
};

}  // namespace ecu

#endif  // ECU_CORE_PLATFORM_EVENT_PUMP_H_

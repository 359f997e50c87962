#ifndef ECU_CORE_LINK_WINDOW_ACTIVATION_H_
#define ECU_CORE_LINK_WINDOW_ACTIVATION_H_

#include <functional>
#include <memory>

#include "core/link/ecu_link.h"
#include "core/platform/event_pump.h"

namespace ecu {

// "Fill once the window is up and the link is idle", for every window model.
// The view says when its window is shown and hidden; the model's activation
// runs once the events that put the window up have been served, and its
// fill once no transaction runs. Neither runs when the window was hidden (or
// the model destroyed) meanwhile.
class WindowActivation {
 public:
  WindowActivation(EcuLink& link, EventPump& pump) : link_(link), pump_(pump) {}
  WindowActivation(const WindowActivation&) = delete;
  WindowActivation& operator=(const WindowActivation&) = delete;

  // The window was shown: `activate` runs once it is up.
  void Shown(std::function<void()> activate);
  // `fill` runs once the link is idle (at once when it is).
  void FillWhenIdle(std::function<void()> fill);
  // The window went: whatever was waiting is dropped.
  void Hidden() { ++generation_; }

 private:
  // Runs `action` only while nothing has been hidden since it was queued.
  std::function<void()> Guarded(std::function<void()> action);

  EcuLink& link_;
  EventPump& pump_;
  long generation_ = 0;
  // Queued actions hold a weak reference: the model may go first.
  std::shared_ptr<long> alive_ = std::make_shared<long>(0);
};

}  // namespace ecu

#endif  // ECU_CORE_LINK_WINDOW_ACTIVATION_H_

#include "core/link/window_activation.h"

#include <utility>

namespace ecu {

std::function<void()> WindowActivation::Guarded(std::function<void()> action) {
  return [this, alive = std::weak_ptr<long>(alive_), queued = generation_,
          action = std::move(action)] {
    if (!alive.expired() && generation_ == queued) action();
  };
}

void WindowActivation::Shown(std::function<void()> activate) {
  pump_.Post(Guarded(std::move(activate)));
}

void WindowActivation::FillWhenIdle(std::function<void()> fill) {
  link_.RunWhenIdle(Guarded(std::move(fill)));
}

}  // namespace ecu

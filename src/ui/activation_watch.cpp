#include "ui/activation_watch.h"

#include <QApplication>

namespace ecu {

bool ActivationWatch::Activated(const QWidget& window, const QEvent& event) {
  if (event.type() != QEvent::ActivationChange) return false;
  if (!window.isActiveWindow()) {
    // No active window of ours left while this one stays up: the focus
    // went to another program. A window hidden meanwhile starts afresh.
    left_without_switch_ =
        window.isVisible() && (QApplication::activeModalWidget() != nullptr ||
                               QApplication::activeWindow() == nullptr);
    return false;
  }
  if (left_without_switch_) {
    left_without_switch_ = false;
    return false;
  }
  return true;
}

}  // namespace ecu

#include "ui/activation_watch.h"

#include <QApplication>

namespace ecu {

bool ActivationWatch::Activated(const QWidget& window, const QEvent& event) {
  if (event.type() != QEvent::ActivationChange) return false;
  if (!window.isActiveWindow()) {
    left_for_message_ = QApplication::activeModalWidget() != nullptr;
    return false;
  }
  if (left_for_message_) {
    left_for_message_ = false;
    return false;
  }
  return true;
}

}  // namespace ecu

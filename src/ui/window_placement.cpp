#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>

namespace ecu {

void ShowPlaced(QWidget* window) {
  if (!window->property("ecu_placed").toBool()) {
    window->setProperty("ecu_placed", true);
    window->adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
      QRect frame = window->frameGeometry();
      frame.moveCenter(screen->availableGeometry().center());
      window->move(frame.topLeft());
    }
  }
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace ecu

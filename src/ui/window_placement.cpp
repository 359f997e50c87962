#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>

namespace ecu {

void ShowPlaced(QWidget* window) {
  if (!window->property("ecu_placed").toBool()) {
    window->setProperty("ecu_placed", true);
    const QSize size = window->sizeHint();
    const QSize least = window->minimumSizeHint();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect available = screen->availableGeometry();
      // The whole window as far as the screen allows, but never squeezed
      // below what its controls need.
      window->resize(size.boundedTo(available.size()).expandedTo(least));
      QRect frame = window->frameGeometry();
      frame.moveCenter(available.center());
      window->move(frame.topLeft());
    } else {
      window->resize(size.expandedTo(least));
    }
  }
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace ecu

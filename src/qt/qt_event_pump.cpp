#include "qt/qt_event_pump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <utility>

namespace ecu {

void QtEventPump::ProcessPending() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void QtEventPump::Post(std::function<void()> action) {
  QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(action),
                            Qt::QueuedConnection);
}

void QtEventPump::WaitAndProcess(double max_seconds) {
  // WaitForMoreEvents sleeps in the dispatcher until something arrives; the
  // timers of the main window make sure that happens at least every 100 ms.
  (void)max_seconds;
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace ecu

#include "qt/system_clock.h"

#include <QDate>
#include <QThread>
#include <QTime>

namespace ecu {

float SystemClock::SecondsSinceMidnight() {
  return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay() /
                            1000.0);
}

void SystemClock::Sleep(double seconds) {
  if (seconds <= 0) return;
  QThread::usleep(static_cast<unsigned long>(seconds * 1e6));
}

std::string SystemClock::TimeText() {
  return QTime::currentTime().toString("hh:mm:ss").toStdString();
}

std::string SystemClock::DateText() {
  return QDate::currentDate().toString("MM-dd-yyyy").toStdString();
}

}  // namespace ecu

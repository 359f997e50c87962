#include "ui/widgets/comm_lamp.h"

#include <QPainter>

namespace ecu {

CommLamp::CommLamp(QWidget* parent) : QWidget(parent), colour_(Qt::gray) {
  setFixedSize(sizeHint());
}

void CommLamp::SetColour(const QColor& colour) {
  if (colour == colour_) return;
  colour_ = colour;
  // Painted at the next message processing, which every transaction does
  // once its reply is handled: a red that turns green within one exchange
  // costs one paint, not two.
  update();
}

void CommLamp::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(60, 60, 60), 1));
  painter.setBrush(colour_);
  painter.drawEllipse(rect().adjusted(1, 1, -2, -2));
}

}  // namespace ecu

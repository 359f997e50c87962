#include "ui/widgets/lamp_row.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QRadialGradient>

namespace ecu {

RoundLamp::RoundLamp(QColor colour, QWidget* parent)
    : QWidget(parent), colour_(colour) {
  setMinimumSize(16, 16);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void RoundLamp::SetLit(bool lit) {
  if (lit == lit_) return;
  lit_ = lit;
  update();
}

void RoundLamp::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const double side = std::min(width(), height()) - 2;
  const QRectF lens((width() - side) / 2, (height() - side) / 2, side, side);
  const QPointF c = lens.center();
  const double r = side / 2;
  painter.setPen(QPen(QColor(40, 40, 44), 1.2));
  if (lit_) {
    QRadialGradient glow(c, r, c - QPointF(r * 0.35, r * 0.35));
    glow.setColorAt(0.0, colour_.lighter(170));
    glow.setColorAt(0.6, colour_);
    glow.setColorAt(1.0, colour_.darker(140));
    painter.setBrush(glow);
  } else {
    painter.setBrush(Qt::NoBrush);
  }
  painter.drawEllipse(lens.adjusted(1, 1, -1, -1));
}

LampRow::LampRow(const QString& name, const std::vector<QColor>& colours,
                 QWidget* parent)
    : QWidget(parent) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(4);
  for (size_t i = 0; i < colours.size(); ++i) {
    auto* lamp = new RoundLamp(colours[i], this);
    lamp->setObjectName(QString("%1_%2").arg(name).arg(i));
    layout->addWidget(lamp);
    lamps_.push_back(lamp);
  }
}

void LampRow::Light(int index) {
  if (index == lit_) return;
  if (RoundLamp* old = lamp(lit_)) old->SetLit(false);
  if (RoundLamp* now = lamp(index)) now->SetLit(true);
  lit_ = index;
}

RoundLamp* LampRow::lamp(int index) const {
  return index >= 0 && index < static_cast<int>(lamps_.size())
             ? lamps_[static_cast<size_t>(index)]
             : nullptr;
}

}  // namespace ecu

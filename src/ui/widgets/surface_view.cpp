#include "ui/widgets/surface_view.h"

#include <QFontMetrics>
#include <QPainter>

#include "ui/widgets/qt_colour.h"

namespace ecu {

SurfaceView::SurfaceView(SegmentSource source, QWidget* parent)
    : QWidget(parent), source_(std::move(source)) {
  setAutoFillBackground(true);
  QPalette colours = palette();
  // The band colours are pale: they show best on a dark ground.
  colours.setColor(QPalette::Window, QColor(30, 34, 42));
  setPalette(colours);
  setMinimumSize(240, 180);
}

QSize SurfaceView::sizeHint() const {
  // In characters of the window's font, so that it scales with the DPI.
  const int unit = QFontMetrics(font()).averageCharWidth();
  return {unit * 90, unit * 60};
}

void SurfaceView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  QPen pen;
  pen.setWidthF(1.2);
  for (const Segment& s : source_(width(), height())) {
    pen.setColor(ToQColor(s.colour));
    painter.setPen(pen);
    painter.drawLine(s.x1, s.y1, s.x2, s.y2);
  }
}

}  // namespace ecu

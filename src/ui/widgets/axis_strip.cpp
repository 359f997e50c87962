#include "ui/widgets/axis_strip.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace ecu {
namespace {

constexpr int kPointerSize = 6;

}  // namespace

AxisStrip::AxisStrip(Qt::Orientation orientation, QWidget* reference,
                     QWidget* parent)
    : QWidget(parent), orientation_(orientation), reference_(reference) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSizeF(font.pointSizeF() * 0.9);
  setFont(font);
}

void AxisStrip::SetLabels(const QStringList& labels) {
  labels_ = labels;
  updateGeometry();
  update();
}

int AxisStrip::AddPointer(QColor colour, bool limited) {
  pointers_.push_back({colour, AxisPointer(limited)});
  return static_cast<int>(pointers_.size()) - 1;
}

void AxisStrip::SetCellCentres(int cells) {
  cells_ = cells;
  update();
}

std::pair<int, int> AxisStrip::Span() const {
  const QPoint origin = mapFromGlobal(reference_->mapToGlobal(QPoint(0, 0)));
  const int length = orientation_ == Qt::Horizontal ? reference_->width()
                                                    : reference_->height();
  const int inset = cells_ > 0 ? length / (2 * cells_) : 0;
  if (orientation_ == Qt::Horizontal) {
    return {origin.x() + inset, origin.x() + length - 1 - inset};
  }
  // Load grows upwards: the axis begins at the grid's bottom edge.
  return {origin.y() + length - 1 - inset, origin.y() + inset};
}

void AxisStrip::MovePointer(int pointer, double fraction) {
  Pointer& p = pointers_[static_cast<size_t>(pointer)];
  p.fraction = fraction;
  const auto [begin, end] = Span();
  if (p.place.Move(fraction, begin, end)) update();
}

std::optional<int> AxisStrip::PointerPosition(int pointer) const {
  return pointers_[static_cast<size_t>(pointer)].place.position();
}

QSize AxisStrip::sizeHint() const {
  const QFontMetrics metrics(font());
  int widest = metrics.horizontalAdvance("00000");
  for (const QString& label : labels_) {
    widest = std::max(widest, metrics.horizontalAdvance(label));
  }
  if (orientation_ == Qt::Horizontal) {
    return {reference_->sizeHint().width(),
            metrics.height() + 2 * kPointerSize + 4};
  }
  return {widest + 2 * kPointerSize + 6, reference_->sizeHint().height()};
}

void AxisStrip::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const auto [begin, end] = Span();
  const QFontMetrics metrics(font());
  const int count = static_cast<int>(labels_.size());
  painter.setPen(palette().color(QPalette::WindowText));
  for (int k = 0; k < count; ++k) {
    const double at =
        begin + (end - begin) * (count > 1 ? k / double(count - 1) : 0.0);
    const QString& label = labels_[k];
    const int w = metrics.horizontalAdvance(label);
    if (orientation_ == Qt::Horizontal) {
      const int x =
          std::clamp(static_cast<int>(at) - w / 2, 0, std::max(0, width() - w));
      painter.drawLine(QPointF(at, 0), QPointF(at, 3));
      painter.drawText(x, 3 + metrics.ascent(), label);
    } else {
      const int y = std::clamp(
          static_cast<int>(at) + metrics.ascent() / 2, metrics.ascent(),
          std::max(metrics.ascent(), height() - metrics.descent()));
      painter.drawLine(QPointF(width() - 3, at), QPointF(width(), at));
      painter.drawText(width() - 5 - w, y, label);
    }
  }
  // Each pointer is a small triangle pointing at the grid.
  for (Pointer& p : pointers_) {
    p.place.Move(p.fraction, begin, end);
    if (!p.place.position()) continue;
    const double at = *p.place.position();
    QPainterPath marker;
    if (orientation_ == Qt::Horizontal) {
      const double base = height() - 1;
      marker.moveTo(at, base - 2 * kPointerSize);
      marker.lineTo(at - kPointerSize, base);
      marker.lineTo(at + kPointerSize, base);
    } else {
      // Just left of the captions, however wide the strip is laid out.
      int widest = 0;
      for (const QString& label : labels_) {
        widest = std::max(widest, metrics.horizontalAdvance(label));
      }
      const double tip = std::max(2.0 * kPointerSize, width() - 8.0 - widest);
      marker.moveTo(tip, at);
      marker.lineTo(tip - 2 * kPointerSize, at - kPointerSize);
      marker.lineTo(tip - 2 * kPointerSize, at + kPointerSize);
    }
    marker.closeSubpath();
    painter.fillPath(marker, p.colour);
  }
}

}  // namespace ecu

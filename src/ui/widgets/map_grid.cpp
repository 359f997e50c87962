#include "ui/widgets/map_grid.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace ecu {
namespace {

QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

const QColor kLines(160, 168, 184);
const QColor kOutline(0, 170, 200);

}  // namespace

MapGrid::MapGrid(QWidget* parent) : QWidget(parent) {
  SetAxes(AxisLabelsOf(MapAxes()));
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void MapGrid::SetCells(const MapGridCells& cells) {
  cells_ = cells;
  update();
}

void MapGrid::SetAxes(const MapAxisLabels& labels) {
  labels_ = labels;
  update();
}

QSize MapGrid::sizeHint() const {
  const QFontMetrics metrics(font());
  const int cell = metrics.horizontalAdvance("0.000") + 6;
  return {cell * kMapColumns + metrics.horizontalAdvance("1000") + 12,
          (metrics.height() + 4) * kMapRows + 2 * metrics.height() + 8};
}

QSize MapGrid::minimumSizeHint() const {
  const QFontMetrics metrics(font());
  return {metrics.horizontalAdvance("000") * kMapColumns / 2,
          metrics.height() * (kMapRows + 2)};
}

QRectF MapGrid::GridArea() const {
  const QFontMetrics metrics(font());
  const double left =
      metrics.horizontalAdvance(QString::fromStdString(labels_.load.back())) +
      10;
  const double bottom = 2 * metrics.height() + 4;
  // Room for half the last speed caption beyond the grid.
  const double right =
      metrics.horizontalAdvance(QString::fromStdString(labels_.speed.back())) /
          2.0 +
      4;
  return QRectF(left, metrics.height() / 2.0 + 1, width() - left - right,
                height() - bottom - metrics.height() / 2.0 - 1);
}

QRectF MapGrid::CellRect(int cell) const {
  const QRectF area = GridArea();
  const double w = area.width() / kMapColumns;
  const double h = area.height() / kMapRows;
  const int column = cell / kMapRows;
  const int row = cell % kMapRows;
  return QRectF(area.left() + column * w, area.bottom() - (row + 1) * h, w, h);
}

int MapGrid::CellAt(const QPoint& point) const {
  const QRectF area = GridArea();
  if (!area.contains(point)) return -1;
  const int column =
      static_cast<int>((point.x() - area.left()) / area.width() * kMapColumns);
  const int row =
      static_cast<int>((area.bottom() - point.y()) / area.height() * kMapRows);
  if (column < 0 || column >= kMapColumns || row < 0 || row >= kMapRows) {
    return -1;
  }
  return kMapRows * column + row;
}

void MapGrid::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  const QFontMetrics metrics(font());
  const QRectF area = GridArea();
  QFont small = font();
  for (int i = 0; i < kMapCellCount; ++i) {
    const GridCell& cell = cells_[static_cast<size_t>(i)];
    const QRectF r = CellRect(i);
    painter.fillRect(r, ToQColor(cell.background));
    painter.setPen(QPen(kLines, 0));
    painter.drawRect(r);
    if (!cell.text.empty()) {
      painter.setPen(ToQColor(cell.text_colour));
      painter.drawText(r, Qt::AlignCenter, QString::fromStdString(cell.text));
    }
  }
  // Heavy frames last, so no neighbour paints over them.
  for (int i = 0; i < kMapCellCount; ++i) {
    if (!cells_[static_cast<size_t>(i)].outlined) continue;
    painter.setPen(QPen(kOutline, 3));
    painter.drawRect(CellRect(i).adjusted(1, 1, -1, -1));
  }
  painter.setPen(palette().windowText().color());
  for (int k = 0; k <= kMapRows; ++k) {
    const double y = area.bottom() - area.height() * k / kMapRows;
    painter.drawText(
        QRectF(0, y - metrics.height() / 2.0, area.left() - 4,
               metrics.height()),
        Qt::AlignRight | Qt::AlignVCenter,
        QString::fromStdString(labels_.load[static_cast<size_t>(k)]));
  }
  for (int k = 0; k < kSpeedLabels; ++k) {
    const double x = area.left() + area.width() * k / (kSpeedLabels - 1);
    const QString text =
        QString::fromStdString(labels_.speed[static_cast<size_t>(k)]);
    const double w = metrics.horizontalAdvance(text);
    painter.drawText(QPointF(std::clamp(x - w / 2, 0.0, width() - w),
                             area.bottom() + metrics.ascent() + 2),
                     text);
  }
  painter.drawText(QRectF(0, area.bottom() + metrics.height() + 2,
                          area.left() + area.width(), metrics.height()),
                   Qt::AlignCenter, "RPM");
  painter.drawText(QRectF(0, area.bottom() + metrics.height() + 2,
                          area.left() - 4, metrics.height()),
                   Qt::AlignRight, QString::fromStdString(labels_.load_unit));
}

void MapGrid::mousePressEvent(QMouseEvent* event) {
  const int cell = CellAt(event->position().toPoint());
  if (cell >= 0 && event->button() == Qt::LeftButton) emit cellClicked(cell);
  QWidget::mousePressEvent(event);
}

bool MapGrid::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip && tip_) {
    auto* help = static_cast<QHelpEvent*>(event);
    const int cell = CellAt(help->pos());
    const QString tip = cell >= 0 ? tip_(cell) : QString();
    if (tip.isEmpty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(help->globalPos(), tip, this);
    }
    return true;
  }
  return QWidget::event(event);
}

}  // namespace ecu

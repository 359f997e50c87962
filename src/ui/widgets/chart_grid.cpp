#include "ui/widgets/chart_grid.h"

#include <algorithm>

namespace ecu {
namespace {

constexpr int kLevelDivisions = 4;

}  // namespace

QRectF ChartPlotArea(const QSize& size, const QFontMetrics& metrics) {
  const double left = metrics.horizontalAdvance("100%") + 8;
  const double bottom = metrics.height() + 4;
  return QRectF(left, 6, std::max(10.0, size.width() - left - 8),
                std::max(10.0, size.height() - bottom - 6));
}

void DrawChartGrid(QPainter& painter, const QRectF& area, int width,
                   const std::vector<TimeMark>& marks) {
  painter.setPen(QPen(kChartGrid, 0));
  painter.drawRect(area);
  const QFontMetrics metrics(painter.font());
  for (int i = 1; i < kLevelDivisions; ++i) {
    const double y = area.bottom() - area.height() * i / kLevelDivisions;
    painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
  }
  for (const TimeMark& mark : marks) {
    if (mark.x <= area.left() || mark.x >= area.right()) continue;
    painter.drawLine(QPointF(mark.x, area.top()),
                     QPointF(mark.x, area.bottom()));
  }
  painter.setPen(kChartLabels);
  for (int i = 0; i <= kLevelDivisions; ++i) {
    const double y = area.bottom() - area.height() * i / kLevelDivisions;
    const QString text = QString("%1%").arg(100 * i / kLevelDivisions);
    painter.drawText(QRectF(0, y - metrics.height() / 2.0, area.left() - 4,
                            metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, text);
  }
  for (const TimeMark& mark : marks) {
    const double w = metrics.horizontalAdvance(mark.text);
    const double left = std::clamp(mark.x - w / 2, 0.0, width - w);
    painter.drawText(QPointF(left, area.bottom() + metrics.ascent() + 2),
                     mark.text);
  }
}

}  // namespace ecu

#ifndef ECU_UI_WIDGETS_CHART_GRID_H_
#define ECU_UI_WIDGETS_CHART_GRID_H_

#include <QColor>
#include <QPainter>
#include <QString>
#include <vector>

namespace ecu {

// The look the strip chart and the log viewer's chart share: a black
// field, a dim green grid of four levels labelled in percent of full scale,
// and time lines labelled below.
inline const QColor kChartBackground(0, 0, 0);
inline const QColor kChartGrid(40, 72, 40);
inline const QColor kChartLabels(150, 160, 150);

// The plot's rectangle in a widget of `size`, leaving room for the labels.
QRectF ChartPlotArea(const QSize& size, const QFontMetrics& metrics);

// A time line at `x` with its label.
struct TimeMark {
  double x;
  QString text;
};

// Frame, level lines and labels, and the time lines with theirs.
void DrawChartGrid(QPainter& painter, const QRectF& area, int width,
                   const std::vector<TimeMark>& marks);

}  // namespace ecu

#endif  // ECU_UI_WIDGETS_CHART_GRID_H_

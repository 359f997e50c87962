#include "ui/widgets/log_chart.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <vector>

#include "ui/widgets/chart_grid.h"

namespace ecu {
namespace {

const QColor kCursorColour(235, 235, 235);
// Pixels the pointer must move before a press becomes a drag.
constexpr double kDragStart = 4;
// One wheel notch zooms by this much.
constexpr double kZoomStep = 0.8;
// Time lines a whole number of these seconds apart, about 100 px apart.
constexpr double kTimeSteps[] = {1,   2,   5,   10,   15,   30,   60,   120,
                                 300, 600, 900, 1800, 3600, 7200, 14400};

double LineStep(double seconds, double pixels) {
  for (double step : kTimeSteps) {
    if (step / seconds * pixels >= 100) return step;
  }
  return kTimeSteps[std::size(kTimeSteps) - 1];
}

}  // namespace

LogChart::LogChart(LogViewModel& model, QWidget* parent)
    : QWidget(parent), model_(model) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setFocusPolicy(Qt::StrongFocus);
  setToolTip(
      "Wheel: zoom about the pointer; drag: move along the log; click: put "
      "the cursor on a sample (Left and Right step it, Home shows the whole "
      "log)");
}

QRectF LogChart::PlotArea() const {
  return ChartPlotArea(size(), QFontMetrics(font()));
}

double LogChart::XOf(const QRectF& area, double time_s) const {
  const double span = model_.view_end() - model_.view_begin();
  return area.left() + (time_s - model_.view_begin()) / span * area.width();
}

double LogChart::TimeAt(double x) const {
  const QRectF area = PlotArea();
  return model_.view_begin() + (x - area.left()) / area.width() *
                                   (model_.view_end() - model_.view_begin());
}

void LogChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), kChartBackground);
  const QRectF area = PlotArea();
  DrawGrid(painter, area);
  if (model_.empty()) return;
  painter.save();
  painter.setClipRect(area.adjusted(-1, -2, 1, 2));
  for (int c = 0; c < kLogChannels; ++c) {
    if (model_.shown(c)) DrawChannel(painter, area, c);
  }
  painter.restore();
  DrawCursor(painter, area);
}

void LogChart::DrawGrid(QPainter& painter, const QRectF& area) const {
  std::vector<TimeMark> marks;
  const double span = model_.view_end() - model_.view_begin();
  if (!model_.empty() && span > 0) {
    const double step = LineStep(span, area.width());
    for (double t = std::ceil(model_.view_begin() / step) * step;
         t <= model_.view_end(); t += step) {
      marks.push_back({XOf(area, t), QString::fromStdString(
                                         LogViewModel::TimeText(t, false))});
    }
  }
  DrawChartGrid(painter, area, width(), marks);
}

void LogChart::DrawChannel(QPainter& painter, const QRectF& area, int channel) {
  const Rgb c = LogViewModel::ChannelColour(channel);
  painter.setPen(QPen(QColor(c.r, c.g, c.b), 0));
  // Off-scale values ride just outside the edges, where they stay visible.
  const auto y = [&area](double fraction) {
    return area.bottom() - std::clamp(fraction, -0.01, 1.01) * area.height();
  };
  const auto [first, last] = model_.Visible();
  // Take in the samples just outside the view, so lines reach its edges.
  const size_t from = first > 0 ? first - 1 : first;
  const size_t to = std::min(last + 1, model_.log().samples.size());
  const auto columns = static_cast<int>(area.width());
  trace_.clear();
  if (to - from <= static_cast<size_t>(2 * columns)) {
    // Few enough: a line through every sample, broken at pauses.
    double previous_t = 0;
    for (size_t i = from; i < to; ++i) {
      const double t = model_.log().samples[i].time_s;
      if (!trace_.isEmpty() && t - previous_t > LogViewModel::kGapS) {
        painter.drawPolyline(trace_);
        trace_.clear();
      }
      trace_.append(QPointF(XOf(area, t), y(model_.Fraction(channel, i))));
      previous_t = t;
    }
    if (trace_.size() == 1) painter.drawPoint(trace_.front());
    if (trace_.size() > 1) painter.drawPolyline(trace_);
    return;
  }
  // Denser than the pixels: each column from its lowest to its highest.
  const std::vector<ColumnSpan> spans = model_.Envelope(channel, columns);
  for (int x = 0; x < columns; ++x) {
    const ColumnSpan& s = spans[static_cast<size_t>(x)];
    if (s.empty) {
      if (trace_.size() > 1) painter.drawPolyline(trace_);
      trace_.clear();
      continue;
    }
    const double px = area.left() + x + 0.5;
    trace_.append(QPointF(px, y(s.low)));
    trace_.append(QPointF(px, y(s.high)));
  }
  if (trace_.size() > 1) painter.drawPolyline(trace_);
}

void LogChart::DrawCursor(QPainter& painter, const QRectF& area) const {
  const std::optional<size_t> at = model_.cursor();
  if (!at) return;
  const double t = model_.log().samples[*at].time_s;
  if (t < model_.view_begin() || t > model_.view_end()) return;
  const double x = XOf(area, t);
  painter.setPen(QPen(kCursorColour, 0, Qt::DashLine));
  painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
  const QString text = QString::fromStdString(LogViewModel::TimeText(t, true));
  const QFontMetrics metrics(font());
  const double w = metrics.horizontalAdvance(text);
  painter.setPen(kCursorColour);
  painter.drawText(QPointF(x + 4 + w > area.right() ? x - 4 - w : x + 4,
                           area.top() + metrics.ascent() + 2),
                   text);
}

void LogChart::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / 120.0;
  if (notches == 0 || model_.empty()) return;
  model_.Zoom(std::pow(kZoomStep, notches), TimeAt(event->position().x()));
  update();
  emit viewChanged();
  event->accept();
}

void LogChart::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = true;
  dragged_ = false;
  drag_x_ = event->position().x();
}

void LogChart::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  const double x = event->position().x();
  if (!dragged_ && std::abs(x - drag_x_) < kDragStart) return;
  dragged_ = true;
  // The log follows the pointer.
  model_.Pan(TimeAt(drag_x_) - TimeAt(x));
  drag_x_ = x;
  update();
  emit viewChanged();
}

void LogChart::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragging_) return;
  dragging_ = false;
  if (dragged_ || model_.empty()) return;
  model_.PlaceCursor(TimeAt(event->position().x()));
  update();
  emit cursorMoved();
}

void LogChart::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
      model_.StepCursor(event->key() == Qt::Key_Left ? -1 : 1);
      update();
      emit cursorMoved();
      emit viewChanged();
      return;
    case Qt::Key_Home:
      model_.ShowAll();
      update();
      emit viewChanged();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

}  // namespace ecu

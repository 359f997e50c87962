#include "ui/widgets/strip_chart.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

#include "ui/widgets/chart_grid.h"

namespace ecu {
namespace {

constexpr int kTimeDivisions = 10;  // 60 samples each
const QColor kStampColour(235, 235, 235);

// "-90 s", "-2.5 min": how long ago a grid line's sample was taken, in
// minutes when the whole chart spans two or more.
QString AgoText(double seconds, bool minutes) {
  if (seconds <= 0) return "now";
  if (!minutes) return QString("-%1 s").arg(seconds, 0, 'g', 4);
  return QString("-%1 min").arg(seconds / 60, 0, 'g', 4);
}

}  // namespace

StripChart::StripChart(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  colours_.fill(Qt::white);
  trace_.reserve(kCapacity);
}

void StripChart::SetChannelColour(int channel, const QColor& colour) {
  if (channel < 0 || channel >= kChannels) return;
  colours_[static_cast<size_t>(channel)] = colour;
  update();
}

void StripChart::SetChannelEnabled(int channel, bool enabled) {
  if (channel < 0 || channel >= kChannels) return;
  enabled_[static_cast<size_t>(channel)] = enabled;
  update();
}

bool StripChart::ChannelEnabled(int channel) const {
  return channel >= 0 && channel < kChannels &&
         enabled_[static_cast<size_t>(channel)];
}

void StripChart::SetSecondsPerSample(double seconds) {
  if (seconds == seconds_per_sample_) return;
  seconds_per_sample_ = seconds;
  update();
}

void StripChart::AddSample(const Sample& values) {
  for (int c = 0; c < kChannels; ++c) {
    values_[static_cast<size_t>(c)][static_cast<size_t>(head_)] =
        static_cast<float>(values[static_cast<size_t>(c)]);
  }
  head_ = (head_ + 1) % kCapacity;
  count_ = std::min(count_ + 1, kCapacity);
  ++total_;
  while (!stamps_.empty() && total_ - 1 - stamps_.front().sample >= kCapacity) {
    stamps_.pop_front();
  }
}

void StripChart::Stamp(const QString& text, double height) {
  stamps_.push_back({total_ - 1, text, height});
  update();
}

double StripChart::ValueAt(int channel, int age) const {
  if (channel < 0 || channel >= kChannels || age < 0 || age >= count_) {
    return std::nan("");
  }
  const int slot = (head_ - 1 - age + kCapacity) % kCapacity;
  return values_[static_cast<size_t>(channel)][static_cast<size_t>(slot)];
}

QRectF StripChart::PlotArea() const {
  return ChartPlotArea(size(), QFontMetrics(font()));
}

double StripChart::XOfAge(const QRectF& area, double age) const {
  return area.right() - age * area.width() / (kCapacity - 1);
}

void StripChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRectF area = PlotArea();
  painter.drawPixmap(0, 0, Background(area));
  painter.save();
  painter.setClipRect(area.adjusted(-1, -2, 1, 2));
  for (int c = 0; c < kChannels; ++c) {
    if (enabled_[static_cast<size_t>(c)]) DrawTrace(painter, area, c);
  }
  painter.restore();
  DrawStamps(painter, area);
}

const QPixmap& StripChart::Background(const QRectF& area) {
  // The grid and its texts change only with the size and the time scale;
  // drawn afresh they cost more than the traces.
  const qreal ratio = devicePixelRatioF();
  if (background_.size() != size() * ratio ||
      background_.devicePixelRatio() != ratio ||
      background_seconds_ != seconds_per_sample_ ||
      background_font_ != font()) {
    background_ = QPixmap(size() * ratio);
    background_.setDevicePixelRatio(ratio);
    background_seconds_ = seconds_per_sample_;
    background_font_ = font();
    QPainter painter(&background_);
    painter.setFont(font());
    painter.fillRect(rect(), kChartBackground);
    DrawGrid(painter, area);
  }
  return background_;
}

void StripChart::DrawGrid(QPainter& painter, const QRectF& area) const {
  const double samples_per_division =
      static_cast<double>(kCapacity) / kTimeDivisions;
  const bool minutes = kCapacity * seconds_per_sample_ >= 120;
  std::vector<TimeMark> marks;
  for (int i = 0; i <= kTimeDivisions; ++i) {
    marks.push_back({area.left() + area.width() * i / kTimeDivisions,
                     AgoText((kTimeDivisions - i) * samples_per_division *
                                 seconds_per_sample_,
                             minutes)});
  }
  DrawChartGrid(painter, area, width(), marks);
}

void StripChart::DrawTrace(QPainter& painter, const QRectF& area, int channel) {
  painter.setPen(QPen(colours_[static_cast<size_t>(channel)], 0));
  const auto& row = values_[static_cast<size_t>(channel)];
  trace_.clear();
  const double dx = area.width() / (kCapacity - 1);
  double x = XOfAge(area, count_ - 1);
  for (int age = count_ - 1; age >= 0; --age, x += dx) {
    const float v =
        row[static_cast<size_t>((head_ - 1 - age + kCapacity) % kCapacity)];
    if (std::isnan(v)) {
      // A value that is no number breaks the line rather than faking one.
      if (trace_.size() > 1) painter.drawPolyline(trace_);
      trace_.clear();
      continue;
    }
    // Off-scale values ride just outside the edges, where they stay visible.
    const double level = std::clamp(static_cast<double>(v), -0.01, 1.01);
    trace_.append(QPointF(x, area.bottom() - level * area.height()));
  }
  if (trace_.size() > 1) {
    painter.drawPolyline(trace_);
  } else if (trace_.size() == 1) {
    painter.drawPoint(trace_.front());
  }
}

void StripChart::DrawStamps(QPainter& painter, const QRectF& area) const {
  const QFontMetrics metrics(font());
  for (const StampMark& stamp : stamps_) {
    const double age = static_cast<double>(total_ - 1 - stamp.sample);
    const double x = XOfAge(area, age);
    painter.setPen(QPen(kStampColour, 0, Qt::DotLine));
    painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    const double y = area.bottom() - stamp.height * area.height();
    const double w = metrics.horizontalAdvance(stamp.text);
    const double left = x + 3 + w > area.right() ? x - 3 - w : x + 3;
    painter.setPen(kStampColour);
    painter.drawText(QPointF(left, y - metrics.descent()), stamp.text);
  }
}

void StripChart::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit clicked();
  QWidget::mousePressEvent(event);
}

}  // namespace ecu

#include "ui/widgets/gauge.h"

#include <QConicalGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace ecu {
namespace {

constexpr double kStartAngle = 225;  // the scale's low end, lower left
constexpr double kSweep = 270;       // clockwise to the lower right
constexpr int kMinorPerStep = 5;
constexpr int kMostTicks = 200;  // a scale that would need more has none
const QColor kWarningZone(255, 176, 0);
const QColor kRedZone(224, 36, 36);
const QColor kScaleInk(236, 238, 242);
const QColor kCaptionInk(170, 178, 190);
const QColor kNeedle(255, 86, 40);

QPointF Polar(const QPointF& centre, double radius, double degrees) {
  const double rad = degrees * M_PI / 180.0;
  return {centre.x() + radius * std::cos(rad),
          centre.y() - radius * std::sin(rad)};
}

QString TickText(double value) {
  if (std::fabs(value) < 1e-9) value = 0;
  return QString::number(value, 'g', 5);
}

}  // namespace

Gauge::Gauge(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void Gauge::SetScale(double minimum, double maximum, double step) {
  if (minimum == minimum_ && maximum == maximum_ && step == step_) return;
  minimum_ = minimum;
  maximum_ = maximum;
  step_ = step;
  Invalidate();
}

void Gauge::SetRedStart(double value) {
  if (value == red_start_) return;
  red_start_ = value;
  Invalidate();
}

void Gauge::SetWarningStart(double value) {
  if (value == warning_start_) return;
  warning_start_ = value;
  Invalidate();
}

void Gauge::SetValue(double value) {
  if (value == value_) return;
  value_ = value;
  update();
}

void Gauge::SetCaption(const QStringList& lines) {
  caption_ = lines;
  Invalidate();
}

void Gauge::SetReadoutDecimals(int decimals) {
  readout_decimals_ = decimals;
  update();
}

void Gauge::Invalidate() {
  face_ = QPixmap();
  update();
}

void Gauge::resizeEvent(QResizeEvent* event) {
  face_ = QPixmap();
  QWidget::resizeEvent(event);
}

QRectF Gauge::Dial() const {
  const double side = std::max(10, std::min(width(), height()) - 4);
  return QRectF((width() - side) / 2, (height() - side) / 2, side, side);
}

double Gauge::AngleOf(double value) const {
  const double span = maximum_ - minimum_;
  double f = span > 0 ? (value - minimum_) / span : 0;
  if (std::isnan(f)) f = 0;
  // The needle rests just past the ends, as against a stop pin.
  f = std::clamp(f, -0.02, 1.02);
  return kStartAngle - kSweep * f;
}

void Gauge::paintEvent(QPaintEvent*) {
  const QRectF dial = Dial();
  if (face_.isNull()) {
    const qreal ratio = devicePixelRatioF();
    face_ = QPixmap(size() * ratio);
    face_.setDevicePixelRatio(ratio);
    face_.fill(Qt::transparent);
    QPainter face(&face_);
    face.setRenderHint(QPainter::Antialiasing);
    DrawDial(face, dial);
    DrawZones(face, dial);
    DrawTicks(face, dial);
  }
  QPainter painter(this);
  painter.drawPixmap(0, 0, face_);
  painter.setRenderHint(QPainter::Antialiasing);
  DrawNeedle(painter, dial);
}

void Gauge::DrawDial(QPainter& painter, const QRectF& dial) const {
  const QPointF c = dial.center();
  const double r = dial.width() / 2;
  QConicalGradient bezel(c, 135);
  bezel.setColorAt(0.0, QColor(235, 238, 242));
  bezel.setColorAt(0.25, QColor(120, 126, 136));
  bezel.setColorAt(0.5, QColor(60, 64, 72));
  bezel.setColorAt(0.75, QColor(150, 156, 166));
  bezel.setColorAt(1.0, QColor(235, 238, 242));
  painter.setPen(Qt::NoPen);
  painter.setBrush(bezel);
  painter.drawEllipse(c, r, r);
  QRadialGradient face(c, r * 0.93, c - QPointF(0, r * 0.3));
  face.setColorAt(0.0, QColor(52, 58, 68));
  face.setColorAt(1.0, QColor(14, 16, 20));
  painter.setBrush(face);
  painter.drawEllipse(c, r * 0.93, r * 0.93);

  QFont font = painter.font();
  font.setPixelSize(std::max(8, static_cast<int>(r * 0.11)));
  painter.setFont(font);
  painter.setPen(kCaptionInk);
  const double line = QFontMetricsF(font).height();
  // Between the hub and the read-out, clear of the numbers.
  double y = c.y() + r * 0.30 - line * (caption_.size() - 1) / 2;
  for (const QString& text : caption_) {
    painter.drawText(QRectF(c.x() - r, y - line / 2, 2 * r, line),
                     Qt::AlignCenter, text);
    y += line;
  }
}

void Gauge::DrawZones(QPainter& painter, const QRectF& dial) const {
  const QPointF c = dial.center();
  const double r = dial.width() / 2;
  const double band = r * 0.075;
  const double radius = r * 0.79 - band / 2;
  const QRectF arc(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius);
  const auto zone = [&](double from, double to, const QColor& colour) {
    from = std::clamp(from, minimum_, maximum_);
    to = std::clamp(to, minimum_, maximum_);
    if (!(to > from)) return;
    const double a = AngleOf(from);
    painter.setPen(QPen(colour, band, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(arc, static_cast<int>(a * 16),
                    static_cast<int>((AngleOf(to) - a) * 16));
  };
  zone(warning_start_, red_start_, kWarningZone);
  zone(red_start_, maximum_, kRedZone);
}

void Gauge::DrawTicks(QPainter& painter, const QRectF& dial) const {
  const QPointF c = dial.center();
  const double r = dial.width() / 2;
  const double span = maximum_ - minimum_;
  if (!(step_ > 0) || !(span > 0) || span / step_ > kMostTicks) return;
  const double outer = r * 0.82;
  QFont font = painter.font();
  font.setPixelSize(std::max(8, static_cast<int>(r * 0.13)));
  font.setBold(true);
  painter.setFont(font);
  const QFontMetricsF metrics(font);
  const int majors = static_cast<int>(std::floor(span / step_ + 1e-9));
  const double minor = step_ / kMinorPerStep;
  painter.setPen(QPen(kScaleInk, std::max(1.0, r * 0.012)));
  for (int k = 0; k <= majors * kMinorPerStep; ++k) {
    const double v = minimum_ + k * minor;
    if (v > maximum_ + 1e-9) break;
    const double a = AngleOf(v);
    const bool major = k % kMinorPerStep == 0;
    const double inner = outer - r * (major ? 0.13 : 0.06);
    painter.setPen(QPen(kScaleInk, std::max(1.0, r * (major ? 0.025 : 0.01)),
                        Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(Polar(c, inner, a), Polar(c, outer, a));
    if (!major) continue;
    const QString text = TickText(v);
    const QPointF at = Polar(c, r * 0.57, a);
    const double w = metrics.horizontalAdvance(text);
    painter.drawText(QRectF(at.x() - w / 2 - 2, at.y() - metrics.height() / 2,
                            w + 4, metrics.height()),
                     Qt::AlignCenter, text);
  }
}

void Gauge::DrawNeedle(QPainter& painter, const QRectF& dial) const {
  const QPointF c = dial.center();
  const double r = dial.width() / 2;

  // The read-out sits in the scale's open bottom.
  QFont font = painter.font();
  font.setPixelSize(std::max(8, static_cast<int>(r * 0.13)));
  painter.setFont(font);
  const QString reading = std::isfinite(value_)
                              ? QString::number(value_, 'f', readout_decimals_)
                              : QString("--");
  const QFontMetricsF metrics(font);
  const double w = metrics.horizontalAdvance(reading) + r * 0.12;
  const QRectF box(c.x() - w / 2, c.y() + r * 0.56, w, metrics.height() + 2);
  painter.setPen(QPen(QColor(70, 76, 86), 1));
  painter.setBrush(QColor(6, 8, 10));
  painter.drawRoundedRect(box, 3, 3);
  painter.setPen(QColor(120, 230, 140));
  painter.drawText(box, Qt::AlignCenter, reading);

  painter.save();
  painter.translate(c);
  painter.rotate(-AngleOf(value_));
  QPainterPath needle;
  needle.moveTo(-r * 0.16, -r * 0.035);
  needle.lineTo(r * 0.80, -r * 0.008);
  needle.lineTo(r * 0.80, r * 0.008);
  needle.lineTo(-r * 0.16, r * 0.035);
  needle.closeSubpath();
  painter.setPen(QPen(kNeedle.darker(160), 1));
  painter.setBrush(kNeedle);
  painter.drawPath(needle);
  painter.restore();

  QRadialGradient hub(c, r * 0.1, c - QPointF(r * 0.03, r * 0.03));
  hub.setColorAt(0.0, QColor(190, 196, 206));
  hub.setColorAt(1.0, QColor(40, 44, 50));
  painter.setPen(Qt::NoPen);
  painter.setBrush(hub);
  painter.drawEllipse(c, r * 0.09, r * 0.09);
}

}  // namespace ecu

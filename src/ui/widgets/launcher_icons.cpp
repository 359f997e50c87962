#include "ui/widgets/launcher_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

namespace ecu {
namespace {

const QColor kInk(35, 55, 90);
const QColor kAccent(220, 60, 40);
const QColor kFill(235, 241, 250);

void DrawGauge(QPainter& p, const QRectF& r) {
  p.setBrush(kFill);
  p.drawEllipse(r);
  const QPointF c = r.center();
  const double radius = r.width() / 2;
  for (int i = 0; i <= 6; ++i) {
    const double a = qDegreesToRadians(210.0 - i * 40.0);
    const QPointF dir(std::cos(a), -std::sin(a));
    p.drawLine(c + dir * radius * 0.72, c + dir * radius * 0.9);
  }
  p.setPen(QPen(kAccent, radius * 0.12, Qt::SolidLine, Qt::RoundCap));
  const double a = qDegreesToRadians(50.0);
  p.drawLine(c, c + QPointF(std::cos(a), -std::sin(a)) * radius * 0.7);
}

void Draw(QPainter& p, LauncherPicture picture, double s) {
  p.setPen(QPen(kInk, s * 0.06, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  switch (picture) {
    case LauncherPicture::kMonitor: {
      p.setBrush(kFill);
      p.drawRoundedRect(QRectF(s * 0.1, s * 0.15, s * 0.8, s * 0.55), 4, 4);
      p.drawLine(QPointF(s * 0.35, s * 0.85), QPointF(s * 0.65, s * 0.85));
      p.drawLine(QPointF(s * 0.5, s * 0.7), QPointF(s * 0.5, s * 0.85));
      QPen pen(kAccent, s * 0.05);
      p.setPen(pen);
      QPainterPath wave;
      wave.moveTo(s * 0.18, s * 0.5);
      wave.lineTo(s * 0.35, s * 0.5);
      wave.lineTo(s * 0.42, s * 0.28);
      wave.lineTo(s * 0.52, s * 0.6);
      wave.lineTo(s * 0.6, s * 0.42);
      wave.lineTo(s * 0.82, s * 0.42);
      p.setBrush(Qt::NoBrush);
      p.drawPath(wave);
      break;
    }
    case LauncherPicture::kDashboard:
      DrawGauge(p, QRectF(s * 0.1, s * 0.1, s * 0.8, s * 0.8));
      break;
    case LauncherPicture::kConfiguration: {
      const QPointF c(s * 0.5, s * 0.5);
      p.setBrush(kFill);
      QPainterPath gear;
      for (int i = 0; i < 16; ++i) {
        const double a = i * M_PI / 8;
        const double r = (i % 2 == 0) ? s * 0.42 : s * 0.32;
        const QPointF pt = c + QPointF(std::cos(a), std::sin(a)) * r;
        if (i == 0)
          gear.moveTo(pt);
        else
          gear.lineTo(pt);
      }
      gear.closeSubpath();
      p.drawPath(gear);
      p.setBrush(Qt::white);
      p.drawEllipse(c, s * 0.12, s * 0.12);
      break;
    }
    case LauncherPicture::kBasicMapping: {
      p.setBrush(kFill);
      p.drawRect(QRectF(s * 0.12, s * 0.12, s * 0.76, s * 0.76));
      for (int i = 1; i < 4; ++i) {
        const double x = s * (0.12 + 0.19 * i);
        p.drawLine(QPointF(x, s * 0.12), QPointF(x, s * 0.88));
        p.drawLine(QPointF(s * 0.12, x), QPointF(s * 0.88, x));
      }
      p.fillRect(QRectF(s * 0.5, s * 0.31, s * 0.19, s * 0.19), kAccent);
      break;
    }
    case LauncherPicture::kAdditionalMapping: {
      p.drawLine(QPointF(s * 0.12, s * 0.88), QPointF(s * 0.88, s * 0.88));
      p.drawLine(QPointF(s * 0.12, s * 0.88), QPointF(s * 0.12, s * 0.12));
      p.setPen(QPen(kAccent, s * 0.06, Qt::SolidLine, Qt::RoundCap));
      QPainterPath curve;
      curve.moveTo(s * 0.15, s * 0.25);
      curve.cubicTo(s * 0.45, s * 0.3, s * 0.5, s * 0.75, s * 0.85, s * 0.72);
      p.drawPath(curve);
      break;
    }
    case LauncherPicture::kPlotter: {
      p.setBrush(kFill);
      p.drawRect(QRectF(s * 0.1, s * 0.15, s * 0.8, s * 0.7));
      p.setPen(QPen(kAccent, s * 0.05));
      QPainterPath trace;
      trace.moveTo(s * 0.14, s * 0.6);
      for (int i = 1; i <= 8; ++i) {
        trace.lineTo(s * (0.14 + i * 0.09), s * (i % 2 ? 0.35 : 0.62));
      }
      p.setBrush(Qt::NoBrush);
      p.drawPath(trace);
      break;
    }
    case LauncherPicture::kAbout: {
      p.setBrush(kFill);
      p.drawEllipse(QRectF(s * 0.1, s * 0.1, s * 0.8, s * 0.8));
      QFont font("DejaVu Serif");
      font.setPixelSize(static_cast<int>(s * 0.55));
      font.setBold(true);
      p.setFont(font);
      p.drawText(QRectF(0, 0, s, s * 0.98), Qt::AlignCenter, "i");
      break;
    }
    case LauncherPicture::kExit: {
      p.setBrush(kFill);
      p.drawRect(QRectF(s * 0.15, s * 0.12, s * 0.45, s * 0.76));
      p.setPen(
          QPen(kAccent, s * 0.08, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawLine(QPointF(s * 0.4, s * 0.5), QPointF(s * 0.88, s * 0.5));
      p.drawLine(QPointF(s * 0.74, s * 0.36), QPointF(s * 0.88, s * 0.5));
      p.drawLine(QPointF(s * 0.74, s * 0.64), QPointF(s * 0.88, s * 0.5));
      break;
    }
  }
}

}  // namespace

QIcon LauncherIcon(LauncherPicture picture) {
  QIcon icon;
  for (int size : {32, 48, 64, 96}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    Draw(painter, picture, size);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace ecu

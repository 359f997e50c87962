#ifndef ECU_UI_WIDGETS_GAUGE_H_
#define ECU_UI_WIDGETS_GAUGE_H_

#include <QPixmap>
#include <QStringList>
#include <QWidget>

namespace ecu {

// An analogue instrument: a 270-degree scale with numbered ticks every
// `step`, a warning zone from `warning_start` and a red zone from
// `red_start` to the end, a needle, a caption and a small digital read-out.
// The dial is drawn once per size and scale; a new value only redraws the
// needle over it.
class Gauge : public QWidget {
  Q_OBJECT

 public:
  explicit Gauge(QWidget* parent = nullptr);

  void SetScale(double minimum, double maximum, double step);
  void SetRedStart(double value);
  void SetWarningStart(double value);
  void SetValue(double value);
  // One line or two ("Battery", "Volts").
  void SetCaption(const QStringList& lines);
  // Decimals of the digital read-out.
  void SetReadoutDecimals(int decimals);

  double value() const { return value_; }
  double minimum() const { return minimum_; }
  double maximum() const { return maximum_; }
  double step() const { return step_; }
  double red_start() const { return red_start_; }
  double warning_start() const { return warning_start_; }
  const QStringList& caption() const { return caption_; }

  QSize sizeHint() const override { return {190, 190}; }
  QSize minimumSizeHint() const override { return {110, 110}; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override { return width; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The angle (degrees, counter-clockwise from 3 o'clock) of a value.
  double AngleOf(double value) const;
  QRectF Dial() const;
  void DrawDial(QPainter& painter, const QRectF& dial) const;
  void DrawZones(QPainter& painter, const QRectF& dial) const;
  void DrawTicks(QPainter& painter, const QRectF& dial) const;
  void DrawNeedle(QPainter& painter, const QRectF& dial) const;
  void Invalidate();

  double value_ = 0;
  double minimum_ = 0;
  double maximum_ = 100;
  double step_ = 10;
  double red_start_ = 100;
  double warning_start_ = 100;
  int readout_decimals_ = 0;
  QStringList caption_;
  QPixmap face_;  // dial, zones, ticks and caption
};

}  // namespace ecu

#endif  // ECU_UI_WIDGETS_GAUGE_H_

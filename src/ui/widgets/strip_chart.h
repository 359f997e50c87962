#ifndef ECU_UI_WIDGETS_STRIP_CHART_H_
#define ECU_UI_WIDGETS_STRIP_CHART_H_

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QPolygonF>
#include <QString>
#include <QWidget>
#include <array>
#include <deque>

#include "core/readouts/plotter_model.h"

namespace ecu {

// A scrolling chart recorder of eight numbered channels: each sample holds
// one value per channel as a fraction of full scale (0 at the bottom, 1 at
// the top); the newest sample is at the right edge and the chart holds the
// last 600. Disabled channels keep their history and reappear with it.
// Text stamps ride along with the sample they were made at.
class StripChart : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kChannels = 8;
  static constexpr int kCapacity = kChartSamples;
  using Sample = std::array<double, kChannels>;

  explicit StripChart(QWidget* parent = nullptr);

  void SetChannelColour(int channel, const QColor& colour);
  void SetChannelEnabled(int channel, bool enabled);
  bool ChannelEnabled(int channel) const;
  // Labels the time axis; samples taken before a change keep their place.
  void SetSecondsPerSample(double seconds);

  // Not repainted here: at the line's rate samples come faster than the
  // eye follows, so the owner calls update() at its display rate.
  void AddSample(const Sample& values);
  // A text stamp at the newest sample, `height` up the 0-to-1 scale.
  void Stamp(const QString& text, double height);

  int sample_count() const { return count_; }
  // The value of a channel `age` samples back (0 the newest).
  double ValueAt(int channel, int age) const;
  int stamp_count() const { return static_cast<int>(stamps_.size()); }

  QSize sizeHint() const override { return {640, 300}; }
  QSize minimumSizeHint() const override { return {240, 120}; }

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  struct StampMark {
    long sample;  // the sample it was made at, counted from the start
    QString text;
    double height;
  };

  QRectF PlotArea() const;
  // The background with its grid, drawn again only when it changed.
  const QPixmap& Background(const QRectF& area);
  void DrawGrid(QPainter& painter, const QRectF& area) const;
  void DrawTrace(QPainter& painter, const QRectF& area, int channel);
  void DrawStamps(QPainter& painter, const QRectF& area) const;
  double XOfAge(const QRectF& area, double age) const;

  // Ring buffer, one row per channel; head_ is the next slot written.
  std::array<std::array<float, kCapacity>, kChannels> values_{};
  int head_ = 0;
  int count_ = 0;
  long total_ = 0;
  std::array<QColor, kChannels> colours_;
  std::array<bool, kChannels> enabled_{};
  std::deque<StampMark> stamps_;
  double seconds_per_sample_ = 1.0;
  QPolygonF trace_;  // reused between paints
  QPixmap background_;
  double background_seconds_ = 0;
  QFont background_font_;
};

}  // namespace ecu

#endif  // ECU_UI_WIDGETS_STRIP_CHART_H_

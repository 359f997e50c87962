#ifndef ECU_UI_WIDGETS_LOG_CHART_H_
#define ECU_UI_WIDGETS_LOG_CHART_H_

#include <QPolygonF>
#include <QWidget>

#include "core/advisor/log_view_model.h"

namespace ecu {

// The log viewer's chart: every shown channel against time over the view
// of a LogViewModel, drawn as the strip chart draws (QPainter, fractions of
// full scale) but only for what is in view: where samples are denser than
// pixels each pixel column shows their lowest and highest value. The wheel
// zooms about the pointer, a drag pans, a click puts the cursor.
class LogChart : public QWidget {
  Q_OBJECT

 public:
  explicit LogChart(LogViewModel& model, QWidget* parent = nullptr);

  // The plot's rectangle within the widget, and the time at an x in it.
  QRectF PlotArea() const;
  double TimeAt(double x) const;

  QSize sizeHint() const override { return {720, 360}; }
  QSize minimumSizeHint() const override { return {240, 120}; }

 signals:
  // The view or the cursor moved.
  void viewChanged();
  void cursorMoved();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void DrawGrid(QPainter& painter, const QRectF& area) const;
  void DrawChannel(QPainter& painter, const QRectF& area, int channel);
  void DrawCursor(QPainter& painter, const QRectF& area) const;
  double XOf(const QRectF& area, double time_s) const;

  LogViewModel& model_;
  QPolygonF trace_;  // reused between paints
  bool dragging_ = false;
  bool dragged_ = false;
  double drag_x_ = 0;
};

}  // namespace ecu

#endif  // ECU_UI_WIDGETS_LOG_CHART_H_

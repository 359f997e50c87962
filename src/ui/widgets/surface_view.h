#ifndef ECU_UI_WIDGETS_SURFACE_VIEW_H_
#define ECU_UI_WIDGETS_SURFACE_VIEW_H_

#include <QWidget>
#include <functional>
#include <vector>

#include "core/editors/surface_graph.h"

namespace ecu {

// A drawing surface for line segments computed elsewhere: on each paint it
// asks for the segments that fit its present size and draws them in order.
class SurfaceView : public QWidget {
  Q_OBJECT

 public:
  using SegmentSource = std::function<std::vector<Segment>(int w, int h)>;

  explicit SurfaceView(SegmentSource source, QWidget* parent = nullptr);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  SegmentSource source_;
};

}  // namespace ecu

#endif  // ECU_UI_WIDGETS_SURFACE_VIEW_H_

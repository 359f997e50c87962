#ifndef ECU_UI_SURFACE_GRAPH_WINDOW_H_
#define ECU_UI_SURFACE_GRAPH_WINDOW_H_

#include <QLineEdit>
#include <QScrollBar>
#include <QWidget>

#include "core/editors/fuel_map_editor.h"
#include "ui/widgets/surface_view.h"

namespace ecu {

// "Mapping Surface Graph": the fuel map as a wire-frame surface, tilted and
// sheared with two scroll bars, between the map values in the two scale
// boxes. Its state is the editor's SurfaceGraph.
class SurfaceGraphWindow : public QWidget {
  Q_OBJECT

 public:
  SurfaceGraphWindow(FuelMapEditor& editor, QWidget* parent);

  SurfaceView* surface() const { return surface_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Shows or hides the window as the graph says, controls as it holds them.
  void Follow();

  FuelMapEditor& editor_;
  SurfaceView* surface_ = nullptr;
  QScrollBar* h_scroll_ = nullptr;
  QScrollBar* v_scroll_ = nullptr;
  QLineEdit* high_scale_ = nullptr;
  QLineEdit* low_scale_ = nullptr;
};

}  // namespace ecu

#endif  // ECU_UI_SURFACE_GRAPH_WINDOW_H_

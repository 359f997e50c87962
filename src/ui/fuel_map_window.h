#ifndef ECU_UI_FUEL_MAP_WINDOW_H_
#define ECU_UI_FUEL_MAP_WINDOW_H_

#include <QLabel>
#include <QPushButton>
#include <array>

#include "core/ecu_context.h"
#include "core/editors/fuel_map_editor.h"
#include "ui/block_modifier_window.h"
#include "ui/editor_window.h"
#include "ui/surface_graph_window.h"
#include "ui/widgets/axis_strip.h"
#include "ui/widgets/cell_grid.h"

namespace ecu {

// frm_3d, "Basic Mapping": the 16 x 16 fuel map with its axes and legend,
// the injector adjustments, the TPS cut-in speed and mixing rows, and the
// live read-outs. A humble view of FuelMapEditor; it also owns the surface
// graph and block modifier windows.
class FuelMapWindow : public EditorWindow {
  Q_OBJECT

 public:
  FuelMapWindow(EcuContext& ctx, Views& views);

  void AfterPollingPass() override;

  FuelMapEditor& editor() { return editor_; }
  SurfaceGraphWindow* graph_window() const { return graph_window_; }
  BlockModifierWindow* modifier_window() const { return modifier_window_; }
  AxisStrip* speed_axis() const { return speed_axis_; }
  AxisStrip* load_axis() const { return load_axis_; }

 protected:
  void RequestUpdate() override { editor_.RequestUpdate(); }
  TableEditor& UndoCells() override { return editor_.cells(); }
  void Shown() override { editor_.Shown(); }
  void Hidden() override { editor_.Hidden(); }
  void Discard() override { editor_.Discard(); }
  void showEvent(QShowEvent* event) override;

 private:
  void BuildMenus();
  QWidget* BuildAdjustments(QWidget* parent);
  QWidget* BuildSidePanel(QWidget* parent);
  QLabel* Readout(const char* name, QWidget* parent);
  // Follow the editor: axes and legend, live values.
  void ShowAxes();
  void ShowLive();

  EcuContext& ctx_;
  FuelMapEditor editor_;
  CellBoxes boxes_;
  AxisStrip* load_axis_ = nullptr;
  AxisStrip* speed_axis_ = nullptr;
  AxisStrip* tps_axis_ = nullptr;
  QLabel* load_unit_ = nullptr;
  std::array<QLabel*, kLegendBoxes> legend_{};
  QLabel* lambda_ = nullptr;
  QLabel* af_condition_ = nullptr;
  QLabel* ego_gain_ = nullptr;
  QLabel* map_gain_ = nullptr;
  QLabel* rpm_ = nullptr;
  QLabel* pulse_width_ = nullptr;
  QPushButton* show_graph_ = nullptr;
  int load_pointer_ = 0;
  int speed_pointer_ = 0;
  int tps_speed_pointer_ = 0;
  int tps_pointer_ = 0;
  SurfaceGraphWindow* graph_window_ = nullptr;
  BlockModifierWindow* modifier_window_ = nullptr;
};

}  // namespace ecu

#endif  // ECU_UI_FUEL_MAP_WINDOW_H_

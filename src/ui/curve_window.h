#ifndef ECU_UI_CURVE_WINDOW_H_
#define ECU_UI_CURVE_WINDOW_H_

#include <QLabel>
#include <array>

#include "core/ecu_context.h"
#include "core/editors/curve_editor.h"
#include "ui/editor_window.h"
#include "ui/widgets/axis_strip.h"
#include "ui/widgets/cell_grid.h"

namespace ecu {

// frm_2d, "Additional Mapping": the eight correction curves, each over its
// own axis with a live marker bar, and the EGO set-point grid with its two.
// A humble view of CurveEditor.
class CurveWindow : public EditorWindow {
  Q_OBJECT

 public:
  CurveWindow(EcuContext& ctx, Views& views);

  void AfterPollingPass() override;

  CurveEditor& editor() { return editor_; }

 protected:
  void RequestUpdate() override { editor_.RequestUpdate(); }
  TableEditor& UndoCells() override { return editor_.cells(); }
  void Shown() override { editor_.Shown(); }
  void Hidden() override { editor_.Hidden(); }
  void Discard() override { editor_.Discard(); }

 private:
  void BuildMenus();
  QWidget* BuildCurves(QWidget* parent);
  QWidget* BuildEgoGrid(QWidget* parent);
  // Follow the editor: axes, marker bars.
  void ShowAxes();
  void ShowLive();

  CurveEditor editor_;
  CellBoxes boxes_;
  std::array<AxisStrip*, kCurveRowCount> row_axes_{};
  AxisStrip* ego_speed_axis_ = nullptr;
  AxisStrip* ego_pressure_axis_ = nullptr;
};

}  // namespace ecu

#endif  // ECU_UI_CURVE_WINDOW_H_

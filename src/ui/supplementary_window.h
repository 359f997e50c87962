#ifndef ECU_UI_SUPPLEMENTARY_WINDOW_H_
#define ECU_UI_SUPPLEMENTARY_WINDOW_H_

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>
#include <array>

#include "core/ecu_context.h"
#include "core/editors/supplementary_editor.h"
#include "ui/editor_window.h"
#include "ui/widgets/axis_strip.h"
#include "ui/widgets/cell_grid.h"

namespace ecu {

// frm_sup, "Supplimental Driver Mapping": the nine duty points over the
// axis of the chosen source with its live pointer, the source options and
// the coolant threshold. A humble view of SupplementaryEditor.
class SupplementaryWindow : public EditorWindow {
  Q_OBJECT

 public:
  SupplementaryWindow(EcuContext& ctx, Views& views);

  void AfterPollingPass() override;

  SupplementaryEditor& editor() { return editor_; }
  AxisStrip* axis() const { return axis_; }

 protected:
  void RequestUpdate() override { editor_.RequestUpdate(); }
  TableEditor& UndoCells() override { return editor_.cells(); }
  void Shown() override { editor_.Shown(); }
  void Hidden() override { editor_.Hidden(); }
  void Discard() override { editor_.Discard(); }
  void showEvent(QShowEvent* event) override;

 private:
  void BuildMenus();
  QWidget* BuildMap(QWidget* parent);
  QWidget* BuildSources(QWidget* parent);
  // Follow the editor: the source and its axis, the pointer.
  void ShowSource();
  void ShowLive();

  SupplementaryEditor editor_;
  CellBoxes boxes_;
  AxisStrip* axis_ = nullptr;
  QLabel* source_units_ = nullptr;
  QLabel* m_src_ = nullptr;
  QButtonGroup* options_ = nullptr;
  std::array<QRadioButton*, kSourceCount> option_buttons_{};
};

}  // namespace ecu

#endif  // ECU_UI_SUPPLEMENTARY_WINDOW_H_

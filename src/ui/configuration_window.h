#ifndef ECU_UI_CONFIGURATION_WINDOW_H_
#define ECU_UI_CONFIGURATION_WINDOW_H_

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>

#include "core/ecu_context.h"
#include "core/editors/configuration_editor.h"
#include "core/editors/configuration_layout.h"
#include "ui/configuration_window_switches.h"
#include "ui/editor_window.h"
#include "ui/widgets/cell_grid.h"

namespace ecu {

// frm_tool, "Configuration": the engine configuration constants in eleven
// frames, the injector phase matrix and the throttle capture buttons. A
// humble view of ConfigurationEditor.
class ConfigurationWindow : public EditorWindow {
  Q_OBJECT

 public:
  ConfigurationWindow(EcuContext& ctx, Views& views);

  ConfigurationEditor& editor() { return editor_; }

 protected:
  void RequestUpdate() override { editor_.RequestUpdate(); }
  TableEditor& UndoCells() override { return editor_.fields(); }
  void Shown() override { editor_.Shown(); }
  void Hidden() override { editor_.Hidden(); }
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  QGroupBox* BuildFrame(const FrameLayout& frame, QWidget* parent);
  void AddFieldLines(const FrameLayout& frame, QWidget* box, QGridLayout* grid,
                     int first_row);
  QWidget* BuildPhaseMatrix(QWidget* parent);
  QWidget* BuildOptions(QWidget* parent);
  QWidget* BuildEgoType(QWidget* parent);
  QAbstractButton* AddSwitch(SwitchRef ref, QWidget* parent);
  // Follow the editor: enabled state, lambda fields, switches.
  void ShowState();

  ConfigurationEditor editor_;
  CellBoxes boxes_;
  SwitchButtons switches_;
};

}  // namespace ecu

#endif  // ECU_UI_CONFIGURATION_WINDOW_H_

#ifndef ECU_UI_EDITOR_WINDOW_H_
#define ECU_UI_EDITOR_WINDOW_H_

#include <QHBoxLayout>
#include <functional>

#include "core/editors/table_editor.h"
#include "ui/view_window.h"

namespace ecu {

// What the calibration editor windows share: the Update entry and button,
// the Exit button, greying out while the editor waits for the ECU, and the
// fill each time the window is shown.
class EditorWindow : public ViewWindow {
  Q_OBJECT

 public:
  using ViewWindow::ViewWindow;

 protected:
  // The editor's steps, forwarded by the window.
  virtual void RequestUpdate() = 0;
  // The window was shown; its model fills it once it is up.
  virtual void Shown() = 0;
  // The window was hidden by the program (not minimised).
  virtual void Hidden() {}
  // The close box destroyed the window.
  virtual void Discard() {}
  // The cells whose changes Undo and Redo take back and do again.
  virtual TableEditor& UndoCells() = 0;
  // An Edit menu after the standard menus: Undo (Ctrl+Z) and Redo
  // (Ctrl+Y, Ctrl+Shift+Z).
  void AddLastMenus() override;

  // The File menu, then the Update entry.
  void AddFileAndUpdateMenus();
  // One entry on the menu bar.
  void AddMenuEntry(const char* text, const char* name,
                    std::function<void()> action);
  // A row with the Update and Exit buttons at its right end; the layouts
  // do not all agree on which of the two is Command3d1.
  QHBoxLayout* AddUpdateExitButtons(QWidget* parent,
                                    const char* update_name = "Command3d2",
                                    const char* exit_name = "Command3d1");
  // Cells and menus are greyed out while the editor waits for the ECU.
  void ShowEnabled(bool enabled);
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
};

}  // namespace ecu

#endif  // ECU_UI_EDITOR_WINDOW_H_

#ifndef ECU_UI_VIEW_WINDOW_H_
#define ECU_UI_VIEW_WINDOW_H_

#include <QMainWindow>

#include "core/console/views.h"

namespace ecu {

// What every view window shares: the exit, the close box and the switch
// entries that request another window and close this one.
class ViewWindow : public QMainWindow {
  Q_OBJECT

 public:
  // The window's name and title come from its entry in the view catalogue;
  // its switch entries request the other views in the loop's switch order.
  ViewWindow(View view, Views& views, QWidget* parent = nullptr);

  View view() const { return view_; }
  // Exit button and menu: closes the window as a view (may be refused by
  // windows that have something to finish first).
  virtual void Exit();
  // What the window does with the new LiveData after the polling pass of
  // its mode (read-outs, markers, gauges).
  virtual void AfterPollingPass() {}
  // The plotter's chart and log step, on each log tick in its mode.
  virtual void TakeSample() {}
  // What changes faster than the eye follows (a chart at the line's rate,
  // a figure per reply) is shown on the display tick of the window's mode.
  virtual void RefreshDisplay() {}
  // The mixture units (lambda or AFR) changed: what shows them follows.
  virtual void UnitsChanged() {}

  // Adds the File menu with its exit entry.
  void AddFileMenu(const char* menu_name = "menufile",
                   const char* exit_name = "menufileexit");
  // Adds one switch entry per target that exists, at the end of the menu
  // bar; called once every window exists.
  void AddSwitchEntries();

 protected:
  // Menus of the window's own that follow every standard one.
  virtual void AddLastMenus() {}
  // True when the window may close now.
  virtual bool CanClose() { return true; }
  void closeEvent(QCloseEvent* event) override;

  Views& views_;

 private:
  View view_;
  bool closing_as_view_ = false;
};

}  // namespace ecu

#endif  // ECU_UI_VIEW_WINDOW_H_

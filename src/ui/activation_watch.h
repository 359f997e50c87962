#ifndef ECU_UI_ACTIVATION_WATCH_H_
#define ECU_UI_ACTIVATION_WATCH_H_

#include <QEvent>
#include <QWidget>

namespace ecu {

// Tells an activation of a window (it becomes the active one coming from
// another window of the console) from its return after one of the console's
// own message boxes or from another program: only an activation reads the
// ECU again. Alt-tab back from a browser must not freeze the window for a
// second of reads.
class ActivationWatch {
 public:
  // Called from the window's changeEvent; true for a new activation.
  bool Activated(const QWidget& window, const QEvent& event);

 private:
  // Set when the window lost the focus to a message box or to another
  // program.
  bool left_without_switch_ = false;
};

}  // namespace ecu

#endif  // ECU_UI_ACTIVATION_WATCH_H_

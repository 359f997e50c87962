#ifndef ECU_UI_ACTIVATION_WATCH_H_
#define ECU_UI_ACTIVATION_WATCH_H_

#include <QEvent>
#include <QWidget>

namespace ecu {

// Tells the user's activations of a window from its return after one of the
// console's own message boxes: only the first kind reads the ECU again.
class ActivationWatch {
 public:
  // Called from the window's changeEvent; true for a new activation.
  bool Activated(const QWidget& window, const QEvent& event);

 private:
  // Set when the window lost the focus to a message box.
  bool left_for_message_ = false;
};

}  // namespace ecu

#endif  // ECU_UI_ACTIVATION_WATCH_H_

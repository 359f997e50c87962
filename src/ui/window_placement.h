#ifndef ECU_UI_WINDOW_PLACEMENT_H_
#define ECU_UI_WINDOW_PLACEMENT_H_

#include <QWidget>

namespace ecu {

// Shows a top-level window; the first time, centred on its screen (without
// a window manager new windows would all open in the top left corner).
void ShowPlaced(QWidget* window);

}  // namespace ecu

#endif  // ECU_UI_WINDOW_PLACEMENT_H_

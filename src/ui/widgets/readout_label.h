#ifndef ECU_UI_WIDGETS_READOUT_LABEL_H_
#define ECU_UI_WIDGETS_READOUT_LABEL_H_

#include <QLabel>

namespace ecu {

// A live read-out: blue figures in a fixed-width font on a white box of a
// fixed size, wide enough for "00000.000".
QLabel* MakeReadoutLabel(QWidget* parent);

}  // namespace ecu

#endif  // ECU_UI_WIDGETS_READOUT_LABEL_H_

#ifndef ECU_UI_WIDGETS_QT_COLOUR_H_
#define ECU_UI_WIDGETS_QT_COLOUR_H_

#include <QColor>

#include "core/editors/editor_colours.h"

namespace ecu {

// A core colour as Qt paints it.
inline QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

}  // namespace ecu

#endif  // ECU_UI_WIDGETS_QT_COLOUR_H_

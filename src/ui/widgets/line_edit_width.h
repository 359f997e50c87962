#ifndef ECU_UI_WIDGETS_LINE_EDIT_WIDTH_H_
#define ECU_UI_WIDGETS_LINE_EDIT_WIDTH_H_

#include <QLineEdit>
#include <QString>

namespace ecu {

// The width at which `edit` shows `text` whole in its own font, with the
// frame and margins its style draws, at any scale and platform font.
int LineEditWidthFor(const QLineEdit& edit, const QString& text);

}  // namespace ecu

#endif  // ECU_UI_WIDGETS_LINE_EDIT_WIDTH_H_

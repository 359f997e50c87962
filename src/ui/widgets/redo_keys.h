#ifndef ECU_UI_WIDGETS_REDO_KEYS_H_
#define ECU_UI_WIDGETS_REDO_KEYS_H_

#include <QKeySequence>
#include <QList>

namespace ecu {

// Redo by Ctrl+Y and by Ctrl+Shift+Z, whichever a tuner's other programs
// taught: the Edit menu's entry and the cells' own keys alike.
inline QList<QKeySequence> RedoShortcuts() {
  return {QKeySequence(Qt::CTRL | Qt::Key_Y),
          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
}

}  // namespace ecu

#endif  // ECU_UI_WIDGETS_REDO_KEYS_H_

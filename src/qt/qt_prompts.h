#ifndef ECU_QT_QT_PROMPTS_H_
#define ECU_QT_QT_PROMPTS_H_

#include <QIcon>
#include <QPointer>
#include <QWidget>
#include <map>

#include "core/platform/prompts.h"

class QMessageBox;

namespace ecu {

// Modal message boxes and the standard file dialogs.
class QtPrompts : public Prompts {
 public:
  // Boxes are centred on `parent` when it is visible.
  void set_parent(QWidget* parent) { parent_ = parent; }

  Answer Show(const Message& box) override;
  std::string OpenFileName(const FileDialog& dialog) override;
  std::string SaveFileName(const FileDialog& dialog) override;

 private:
  QWidget* Parent() const;
  void ShareButtonIcons(QMessageBox& box);

  QPointer<QWidget> parent_;
  // One icon per standard button for every box: the style makes a new one
  // per button, and each new icon leaves its pixmaps in Qt's pixmap cache
  // under a key of its own, so a stream of warnings grew the heap.
  std::map<int, QIcon> button_icons_;
};

// "Setup Files (*.set)|" -> "Setup Files (*.set)".
QString QtFilter(const std::string& filter);

}  // namespace ecu

#endif  // ECU_QT_QT_PROMPTS_H_

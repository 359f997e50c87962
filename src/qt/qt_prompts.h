#ifndef ECU_QT_QT_PROMPTS_H_
#define ECU_QT_QT_PROMPTS_H_

#include <QPointer>
#include <QWidget>

#include "core/platform/prompts.h"

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

  QPointer<QWidget> parent_;
};

// "Setup Files (*.set)|" -> "Setup Files (*.set)".
QString QtFilter(const std::string& filter);

}  // namespace ecu

#endif  // ECU_QT_QT_PROMPTS_H_

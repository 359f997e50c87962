#ifndef ECU_UI_BLOCK_MODIFIER_WINDOW_H_
#define ECU_UI_BLOCK_MODIFIER_WINDOW_H_

#include <QLineEdit>
#include <QWidget>

#include "core/editors/block_modifier.h"

namespace ecu {

// "Modify Block of Cells": the operand boxes and the six operation buttons
// over the editor's BlockModifier.
class BlockModifierWindow : public QWidget {
  Q_OBJECT

 public:
  BlockModifierWindow(BlockModifier& modifier, QWidget* parent);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Shows or hides the window as the modifier says, boxes as it holds them.
  void Follow();

  BlockModifier& modifier_;
  QLineEdit* set_value_ = nullptr;
  QLineEdit* add_ = nullptr;
  QLineEdit* multiply_ = nullptr;
};

}  // namespace ecu

#endif  // ECU_UI_BLOCK_MODIFIER_WINDOW_H_

#ifndef ECU_UI_FLASH_UTILITY_WINDOW_H_
#define ECU_UI_FLASH_UTILITY_WINDOW_H_

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "core/firmware/flash_utility.h"
#include "ui/activation_watch.h"

namespace ecu {

// sflash, "Tarnvel Flash Utility": shows the FlashUtility's controls and
// terminal and forwards the buttons, the delay controls, Timer1 and the
// window's activation to it.
class FlashUtilityWindow : public QWidget {
  Q_OBJECT

 public:
  // `on_exit` brings the main window back after "Exit Flash Util.".
  FlashUtilityWindow(FlashUtility& utility, std::function<void()> on_exit,
                     QWidget* parent = nullptr);
  ~FlashUtilityWindow() override;

  // Shows the model's state; called whenever it changes.
  void Render();

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void BuildControls();
  void Exit();

  FlashUtility& utility_;
  std::function<void()> on_exit_;
  QPushButton* flash_program_ = nullptr;  // Command1
  QPushButton* halt_ = nullptr;           // Command2
  QPushButton* monitor_check_ = nullptr;  // Command3
  QPushButton* exit_ = nullptr;           // exit_flash
  QCheckBox* line_delay_box_ = nullptr;
  QLineEdit* line_dly_ = nullptr;
  QCheckBox* char_delay_box_ = nullptr;
  QLineEdit* char_dly_ = nullptr;
  QLabel* lines_sent_ = nullptr;
  QPlainTextEdit* terminal_ = nullptr;
  QTimer timer_;  // Timer1
  long shown_revision_ = -1;
  ActivationWatch activations_;
};

}  // namespace ecu

#endif  // ECU_UI_FLASH_UTILITY_WINDOW_H_

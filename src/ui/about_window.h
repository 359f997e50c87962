#ifndef ECU_UI_ABOUT_WINDOW_H_
#define ECU_UI_ABOUT_WINDOW_H_

#include <QLabel>
#include <QMainWindow>
#include <QPixmap>

#include "core/console/console_commands.h"
#include "core/link/controller_commands.h"
#include "ui/activation_watch.h"

namespace ecu {

// frm_about, "About ECU": the console's version, the maker's picture and
// text, and the controller's identification, asked afresh each time the
// box becomes active.
class AboutWindow : public QMainWindow {
  Q_OBJECT

 public:
  AboutWindow(ConsoleCommands& commands, const QPixmap& oem_picture,
              const QString& oem_text, QWidget* parent = nullptr);

  // Follows ControllerInfo.
  void ShowIdentification(const ControllerInfo& info);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  ConsoleCommands& commands_;
  QLabel* fw_rev_ = nullptr;
  QLabel* serial_num_ = nullptr;
  ActivationWatch activations_;
};

}  // namespace ecu

#endif  // ECU_UI_ABOUT_WINDOW_H_

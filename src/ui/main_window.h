#ifndef ECU_UI_MAIN_WINDOW_H_
#define ECU_UI_MAIN_WINDOW_H_

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QTimer>
#include <array>

#include "core/console/console_commands.h"
#include "core/console/views.h"
#include "core/ecu_context.h"

namespace ecu {

// FrmEcu: the first and last window. Menus and launcher buttons forward to
// ConsoleCommands; the two timers only set the loop's flags.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(EcuContext& ctx, ConsoleCommands& commands, const WindowHost& host,
             const QPixmap& oem_picture, std::function<void()> show_about);

  // Set when the window closes: the program ends.
  const bool& closed() const { return closed_; }
  // LogTimer's interval, chosen in the plotter's menu.
  void SetLogInterval(int ms);
  // Follows ControllerInfo (the flash utility entry) and the port choice.
  void RefreshState();
  // What the Tool menu's "Flash &Utility" entry opens.
  void set_show_flash_utility(std::function<void()> show) {
    show_flash_utility_ = std::move(show);
  }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildMenus(const WindowHost& host);
  void BuildLaunchers(const WindowHost& host, const QPixmap& oem_picture);
  void Exit();
  void ChoosePortDevice();

  EcuContext& ctx_;
  ConsoleCommands& commands_;
  std::function<void()> show_about_;
  std::function<void()> show_flash_utility_;
  QTimer poll_timer_;
  QTimer log_timer_;
  std::array<QAction*, 6> comm_entries_{};
  QAction* flash_utility_ = nullptr;
  bool closed_ = false;
  // The flash utility entry follows the controller's reply.
  Subscription controller_changed_;
};

}  // namespace ecu

#endif  // ECU_UI_MAIN_WINDOW_H_

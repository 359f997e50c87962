#include "ui/main_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QInputDialog>
#include <QMenuBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/console/startup_files.h"
#include "ui/view_catalogue.h"
#include "ui/widgets/launcher_icons.h"

namespace ecu {

MainWindow::MainWindow(EcuContext& ctx, ConsoleCommands& commands,
                       const WindowHost& host, const QPixmap& oem_picture,
                       std::function<void()> show_about)
    : ctx_(ctx), commands_(commands), show_about_(std::move(show_about)) {
  setObjectName("FrmEcu");
  setWindowTitle(ctx.console.master_mode ? kMasterModeTitle : kConsoleTitle);
  BuildMenus(host);
  BuildLaunchers(host, oem_picture);
  // The timers only raise flags; the polling loop does the work.
  poll_timer_.setObjectName("Timer1");
  poll_timer_.setInterval(100);
  connect(&poll_timer_, &QTimer::timeout, this, [this] {
    ctx_.console.poll_tick = true;
    ctx_.console.display_tick = true;
  });
  poll_timer_.start();
  log_timer_.setObjectName("Timer3");
  connect(&log_timer_, &QTimer::timeout, this,
          [this] { ctx_.console.log_tick = true; });
  SetLogInterval(ctx.console.log_interval_ms);
  RefreshState();
  controller_changed_ =
      ctx_.controller.changed.Subscribe([this] { RefreshState(); });
}

void MainWindow::SetLogInterval(int ms) {
  ctx_.console.log_interval_ms = ms;
  log_timer_.stop();
  log_timer_.setInterval(ms);
  log_timer_.start();
}

void MainWindow::BuildMenus(const WindowHost& host) {
  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("menu_file");
  QAction* open = file->addAction("&Upload Calibration File To ECU");
  open->setObjectName("menufileopen");
  connect(open, &QAction::triggered, this,
          [this] { commands_.OpenSetupFile(); });
  QAction* save = file->addAction("&Dowload ECU To Calibration File");
  save->setObjectName("menufilesave");
  connect(save, &QAction::triggered, this,
          [this] { commands_.SaveSetupFile(); });
  QAction* exit = file->addAction("e&xit");
  exit->setObjectName("menu_file_exit");
  connect(exit, &QAction::triggered, this, &MainWindow::Exit);

  QMenu* view = menuBar()->addMenu("&View");
  view->setObjectName("menu_view");
  for (const ViewEntry& entry : ViewEntries()) {
    if (!host.HasView(entry.view)) continue;
    QAction* action = view->addAction(entry.menu_caption);
    action->setObjectName(entry.menu_name);
    const View v = entry.view;
    connect(action, &QAction::triggered, this,
            [this, v] { commands_.OpenView(v); });
  }

  QMenu* comm = menuBar()->addMenu("&Comm");
  comm->setObjectName("menu_comm");
  for (int n = 1; n <= 6; ++n) {
    QAction* action = comm->addAction(QString("&%1").arg(n));
    action->setObjectName(QString("menu_comm_%1").arg(n));
    action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, n] {
      commands_.SelectPort(n);
      RefreshState();
    });
    comm_entries_[static_cast<size_t>(n - 1)] = action;
  }
  comm->addSeparator();
  QAction* other = comm->addAction("&Other Port...");
  other->setObjectName("menu_comm_other");
  connect(other, &QAction::triggered, this, &MainWindow::ChoosePortDevice);

  QMenu* tool = menuBar()->addMenu("&Tool");
  tool->setObjectName("menu_tool");
  QAction* reset = tool->addAction("&Reset");
  reset->setObjectName("menu_tool_reset");
  connect(reset, &QAction::triggered, this, [this] { commands_.Reset(); });
  QAction* reflash = tool->addAction("Prepare to Re-&Flash");
  reflash->setObjectName("menu_tool_reflash");
  connect(reflash, &QAction::triggered, this,
          [this] { commands_.PrepareToReflash(); });
  flash_utility_ = tool->addAction("Flash &Utility");
  flash_utility_->setObjectName("menu_tool_flash_utility");
  connect(flash_utility_, &QAction::triggered, this, [this] {
    if (show_flash_utility_) show_flash_utility_();
  });

  QAction* about = menuBar()->addAction("&About");
  about->setObjectName("menu_about");
  connect(about, &QAction::triggered, this, [this] { show_about_(); });
}

void MainWindow::BuildLaunchers(const WindowHost& host,
                                const QPixmap& oem_picture) {
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(12, 12, 12, 12);
  layout->setSpacing(10);

  auto* picture = new QLabel(central);
  picture->setObjectName("Picture1");
  picture->setToolTip("Contact us for technical support");
  picture->setAlignment(Qt::AlignCenter);
  if (!oem_picture.isNull()) {
    picture->setPixmap(oem_picture.scaled(440, 160, Qt::KeepAspectRatio,
                                          Qt::SmoothTransformation));
  } else {
    // No maker's picture: the console's name stands in its place.
    picture->setText(kConsoleTitle);
    QFont font = picture->font();
    font.setPointSizeF(font.pointSizeF() * 1.6);
    font.setBold(true);
    picture->setFont(font);
    picture->setStyleSheet("color: #23375a; padding: 8px;");
  }
  layout->addWidget(picture);

  auto* buttons = new QGridLayout;
  buttons->setSpacing(6);
  int column = 0;
  auto add_button = [&](const char* name, const QString& tip,
                        LauncherPicture art, const QString& caption,
                        std::function<void()> action) {
    auto* button = new QToolButton(central);
    button->setObjectName(name);
    button->setToolTip(tip);
    button->setIconSize(QSize(40, 40));
    button->setMinimumSize(56, 56);
    button->setAutoRaise(false);
    if (caption.isEmpty()) {
      button->setIcon(LauncherIcon(art));
    } else {
      button->setText(caption);
      QFont font = button->font();
      font.setBold(true);
      button->setFont(font);
    }
    connect(button, &QToolButton::clicked, this, std::move(action));
    buttons->addWidget(button, 0, column++);
  };
  for (const ViewEntry& entry : ViewEntries()) {
    if (!host.HasView(entry.view)) continue;
    const View v = entry.view;
    add_button(entry.button_name, entry.button_tip, entry.picture,
               entry.button_caption, [this, v] { commands_.OpenView(v); });
  }
  add_button("Command3d6", "Additional Info", LauncherPicture::kAbout, "",
             [this] { show_about_(); });
  add_button("Command3d5", "Exit Program", LauncherPicture::kExit, "",
             [this] { Exit(); });
  layout->addLayout(buttons);
  setCentralWidget(central);
}

void MainWindow::RefreshState() {
  const int checked = ctx_.link_state.checked_port_entry;
  for (int n = 1; n <= 6; ++n) {
    comm_entries_[static_cast<size_t>(n - 1)]->setChecked(n == checked);
  }
  if (flash_utility_ != nullptr) {
    flash_utility_->setEnabled(ctx_.controller.flash_utility_enabled);
  }
}

void MainWindow::Exit() {
  if (commands_.ConfirmExit()) close();
}

void MainWindow::ChoosePortDevice() {
  bool ok = false;
  const QString device = QInputDialog::getText(
      this, "Other Port",
      "Serial device of the ECU (for example /dev/ttyUSB0).\n"
      "It is used from the next start of the console.",
      QLineEdit::Normal, QString::fromStdString(ctx_.link_state.port_device),
      &ok);
  if (!ok || device.trimmed().isEmpty()) return;
  commands_.SelectPortDevice(device.trimmed().toStdString());
  RefreshState();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // The close box ends the program without a question.
  closed_ = true;
  event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent* event) { event->ignore(); }

}  // namespace ecu

#include "ui/about_window.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/console/startup_files.h"

namespace ecu {

AboutWindow::AboutWindow(ConsoleCommands& commands, const QPixmap& oem_picture,
                         const QString& oem_text, QWidget* parent)
    : QMainWindow(parent, Qt::Dialog), commands_(commands) {
  setObjectName("frm_about");
  setWindowTitle("About ECU");
  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("menu_file");
  QAction* exit_entry = file->addAction("e&xit");
  exit_entry->setObjectName("menu_file_exit");
  connect(exit_entry, &QAction::triggered, this, &QWidget::hide);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(14, 12, 14, 12);
  auto* picture = new QLabel(central);
  picture->setObjectName("Picture1");
  picture->setAlignment(Qt::AlignCenter);
  if (!oem_picture.isNull()) {
    picture->setPixmap(oem_picture.scaled(320, 120, Qt::KeepAspectRatio,
                                          Qt::SmoothTransformation));
  }
  picture->setVisible(!oem_picture.isNull());
  layout->addWidget(picture);
  auto* heading = new QLabel(kConsoleTitle, central);
  QFont heading_font = heading->font();
  heading_font.setPointSizeF(heading_font.pointSizeF() * 1.4);
  heading_font.setBold(true);
  heading->setFont(heading_font);
  heading->setStyleSheet("color: #23375a;");
  layout->addWidget(heading);

  auto* oem = new QLabel(central);
  oem->setObjectName("oemtext");
  // The text keeps its carriage returns as line breaks.
  QString shown = oem_text.isEmpty()
                      ? QString("ECU.EXE, Windows based monitor/programmer.")
                      : oem_text;
  shown.replace('\r', '\n');
  oem->setText(shown.trimmed());
  oem->setWordWrap(true);
  layout->addWidget(oem);

  auto* grid = new QGridLayout;
  auto add_row = [&](int row, const char* caption, const char* name,
                     const QString& text) {
    grid->addWidget(new QLabel(caption, central), row, 0);
    auto* value = new QLabel(text, central);
    value->setObjectName(name);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = value->font();
    bold.setBold(true);
    value->setFont(bold);
    grid->addWidget(value, row, 1);
    return value;
  };
  add_row(0, "ECU.EXE Revision", "ECU_Rev", kConsoleRevision);
  fw_rev_ = add_row(1, "Controller Firmware", "FW_Rev", "Unknown");
  serial_num_ = add_row(2, "Controller Serial#", "serial_num", "Unknown");
  grid->setColumnStretch(1, 1);
  layout->addLayout(grid);

  auto* exit = new QPushButton("OK", central);
  exit->setObjectName("Command3d1");
  exit->setToolTip("Click to exit back to the console");
  connect(exit, &QPushButton::clicked, this, &QWidget::hide);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(exit);
  layout->addLayout(bottom);
  central->setMinimumWidth(380);
  setCentralWidget(central);
}

void AboutWindow::ShowIdentification(const ControllerInfo& info) {
  fw_rev_->setText(QString::fromStdString(info.firmware_revision));
  serial_num_->setText(QString::fromStdString(info.serial_number));
}

void AboutWindow::changeEvent(QEvent* event) {
  if (activations_.Activated(*this, *event)) commands_.ReadIdentification();
  QMainWindow::changeEvent(event);
}

}  // namespace ecu

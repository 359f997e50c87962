#include "ui/flash_utility_window.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QVBoxLayout>

#include "ui/widgets/line_edit_width.h"

namespace ecu {
namespace {

QString FromLatin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

FlashUtilityWindow::FlashUtilityWindow(FlashUtility& utility,
                                       std::function<void()> on_exit,
                                       QWidget* parent)
    : QWidget(parent, Qt::Window),
      utility_(utility),
      on_exit_(std::move(on_exit)) {
  setObjectName("sflash");
  setWindowTitle(kFlashUtilityTitle);
  BuildControls();
  timer_.setObjectName("Timer1");
  timer_.setInterval(100);
  connect(&timer_, &QTimer::timeout, this,
          [this] { utility_.ReceiveLoaderOutput(); });
  utility_.set_changed([this] { Render(); });
  Render();
}

FlashUtilityWindow::~FlashUtilityWindow() { utility_.set_changed(nullptr); }

void FlashUtilityWindow::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 10, 10, 10);
  layout->setSpacing(8);

  terminal_ = new QPlainTextEdit(this);
  terminal_->setObjectName("terminal");
  terminal_->setReadOnly(true);
  terminal_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  terminal_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  terminal_->setStyleSheet(
      "QPlainTextEdit { background: #101820; color: #9be29b; }");
  const QFontMetrics metrics(terminal_->font());
  terminal_->setMinimumSize(metrics.horizontalAdvance('0') * 64,
                            metrics.lineSpacing() * 14);
  layout->addWidget(terminal_, 1);

  auto* bottom = new QHBoxLayout;
  auto* settings = new QGridLayout;
  settings->setHorizontalSpacing(6);
  line_delay_box_ = new QCheckBox("Add line dly.", this);
  line_delay_box_->setObjectName("line_delay_box");
  line_dly_ =
      new QLineEdit(FromLatin1(utility_.controls().line_delay_text), this);
  line_dly_->setObjectName("line_dly");
  char_delay_box_ = new QCheckBox("Add charecter dly.", this);
  char_delay_box_->setObjectName("char_delay_box");
  char_dly_ =
      new QLineEdit(FromLatin1(utility_.controls().char_delay_text), this);
  char_dly_->setObjectName("char_dly");
  for (QLineEdit* box : {line_dly_, char_dly_}) {
    box->setMaximumWidth(LineEditWidthFor(*box, "00.00000"));
  }
  settings->addWidget(line_delay_box_, 0, 0);
  settings->addWidget(line_dly_, 0, 1);
  settings->addWidget(new QLabel("Sec", this), 0, 2);
  settings->addWidget(char_delay_box_, 1, 0);
  settings->addWidget(char_dly_, 1, 1);
  settings->addWidget(new QLabel("Sec", this), 1, 2);
  settings->addWidget(new QLabel("Lines Sent:", this), 2, 0);
  lines_sent_ = new QLabel(this);
  lines_sent_->setObjectName("lines_sent");
  settings->addWidget(lines_sent_, 2, 1, 1, 2);
  bottom->addLayout(settings);
  bottom->addStretch(1);

  auto* buttons = new QGridLayout;
  auto make_button = [this](const char* name, const char* caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
  };
  flash_program_ = make_button("Command1", "Flash Program");
  halt_ = make_button("Command2", "Halt Flashing");
  monitor_check_ = make_button("Command3", "Monitor Check");
  exit_ = make_button("exit_flash", "Exit Flash Util.");
  buttons->addWidget(flash_program_, 0, 0);
  buttons->addWidget(halt_, 0, 1);
  buttons->addWidget(monitor_check_, 1, 0);
  buttons->addWidget(exit_, 1, 1);
  bottom->addLayout(buttons);
  layout->addLayout(bottom);

  connect(flash_program_, &QPushButton::clicked, this,
          [this] { utility_.FlashProgram(); });
  connect(halt_, &QPushButton::clicked, this, [this] { utility_.Halt(); });
  connect(monitor_check_, &QPushButton::clicked, this,
          [this] { utility_.MonitorCheck(); });
  connect(exit_, &QPushButton::clicked, this, &FlashUtilityWindow::Exit);
  connect(line_delay_box_, &QCheckBox::toggled, this,
          [this](bool on) { utility_.SetLineDelayTicked(on); });
  connect(char_delay_box_, &QCheckBox::toggled, this,
          [this](bool on) { utility_.SetCharDelayTicked(on); });
  connect(line_dly_, &QLineEdit::textChanged, this, [this](const QString& t) {
    utility_.SetLineDelayText(t.toLatin1().toStdString());
  });
  connect(char_dly_, &QLineEdit::textChanged, this, [this](const QString& t) {
    utility_.SetCharDelayText(t.toLatin1().toStdString());
  });
}

void FlashUtilityWindow::Render() {
  const FlashControls& controls = utility_.controls();
  flash_program_->setEnabled(controls.flash_program_enabled);
  halt_->setEnabled(controls.halt_enabled);
  monitor_check_->setEnabled(controls.monitor_check_enabled);
  exit_->setEnabled(controls.exit_enabled);
  lines_sent_->setText(FromLatin1(controls.lines_sent));
  const LoaderTerminal& terminal = utility_.terminal();
  if (terminal.revision() != shown_revision_) {
    shown_revision_ = terminal.revision();
    terminal_->setPlainText(FromLatin1(terminal.Text()));
    QScrollBar* bar = terminal_->verticalScrollBar();
    bar->setValue(bar->maximum());
  }
}

void FlashUtilityWindow::Exit() {
  utility_.Exit();
  hide();
  if (on_exit_) on_exit_();
}

void FlashUtilityWindow::changeEvent(QEvent* event) {
  if (activations_.Activated(*this, *event)) utility_.Activate();
  QWidget::changeEvent(event);
}

void FlashUtilityWindow::closeEvent(QCloseEvent* event) {
  // The close box is the exit button; while flashing it does nothing, as
  // the exit button is disabled then.
  event->ignore();
  if (!utility_.running() && utility_.controls().exit_enabled) Exit();
}

void FlashUtilityWindow::showEvent(QShowEvent* event) {
  timer_.start();
  QWidget::showEvent(event);
}

void FlashUtilityWindow::hideEvent(QHideEvent* event) {
  timer_.stop();
  QWidget::hideEvent(event);
}

}  // namespace ecu

#include "qt/qt_prompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace ecu {
namespace {

QMessageBox::Icon QtIcon(Icon icon) {
  switch (icon) {
    case Icon::kInformation:
      return QMessageBox::Information;
    case Icon::kExclamation:
      return QMessageBox::Warning;
    case Icon::kQuestion:
      return QMessageBox::Question;
    case Icon::kCritical:
      return QMessageBox::Critical;
    case Icon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

std::vector<QMessageBox::StandardButton> QtButtons(Buttons buttons) {
  switch (buttons) {
    case Buttons::kOk:
      return {QMessageBox::Ok};
    case Buttons::kOkCancel:
      return {QMessageBox::Ok, QMessageBox::Cancel};
    case Buttons::kYesNo:
      return {QMessageBox::Yes, QMessageBox::No};
    case Buttons::kYesNoCancel:
      return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
  }
  return {QMessageBox::Ok};
}

Answer ToAnswer(int button) {
  switch (button) {
    case QMessageBox::Yes:
      return Answer::kYes;
    case QMessageBox::No:
      return Answer::kNo;
    case QMessageBox::Cancel:
      return Answer::kCancel;
    default:
      return Answer::kOk;
  }
}

}  // namespace

QString QtFilter(const std::string& filter) {
  // The stored filters separate description and pattern pairs with '|'.
  QStringList parts =
      QString::fromStdString(filter).split('|', Qt::SkipEmptyParts);
  return parts.join(";;");
}

QWidget* QtPrompts::Parent() const {
  if (parent_ && parent_->isVisible()) return parent_;
  return QApplication::activeWindow();
}

void QtPrompts::ShareButtonIcons(QMessageBox& box) {
  for (QAbstractButton* button : box.buttons()) {
    if (button->icon().isNull()) continue;
    const int which = box.standardButton(button);
    const auto [kept, first] = button_icons_.emplace(which, button->icon());
    if (!first) button->setIcon(kept->second);
  }
}

Answer QtPrompts::Show(const Message& box) {
  QMessageBox message(Parent());
  message.setText(QString::fromStdString(box.text));
  message.setWindowTitle(box.title.empty() ? QStringLiteral("ECU")
                                           : QString::fromStdString(box.title));
  message.setIcon(QtIcon(box.icon));
  const std::vector<QMessageBox::StandardButton> buttons =
      QtButtons(box.buttons);
  QMessageBox::StandardButtons set;
  for (QMessageBox::StandardButton b : buttons) set |= b;
  message.setStandardButtons(set);
  ShareButtonIcons(message);
  const size_t index = static_cast<size_t>(box.default_button);
  message.setDefaultButton(buttons[index < buttons.size() ? index : 0]);
  return ToAnswer(message.exec());
}

std::string QtPrompts::OpenFileName(const FileDialog& dialog) {
  // A wildcard initial name ("*.SET") is the filter's business in Qt.
  QString initial = QString::fromStdString(dialog.initial_name);
  if (initial.contains('*')) initial.clear();
  const QString name = QFileDialog::getOpenFileName(
      Parent(), QString(), initial, QtFilter(dialog.filter));
  return name.toStdString();
}

std::string QtPrompts::SaveFileName(const FileDialog& dialog) {
  // The dialog itself adds the default extension, before it looks for a
  // file to overwrite: "base" must be asked about when base.set exists.
  // Qt's own dialog is used because it is known to do so.
  QFileDialog save(Parent(), QString(), QString(), QtFilter(dialog.filter));
  save.setAcceptMode(QFileDialog::AcceptSave);
  save.setFileMode(QFileDialog::AnyFile);
  save.setOption(QFileDialog::DontUseNativeDialog);
  save.setOption(QFileDialog::DontConfirmOverwrite,
                 !dialog.ask_before_overwrite);
  save.setDefaultSuffix(QString::fromStdString(dialog.default_extension));
  const QString initial = QString::fromStdString(dialog.initial_name);
  if (!initial.contains('*')) save.selectFile(initial);
  if (save.exec() != QDialog::Accepted || save.selectedFiles().isEmpty()) {
    return "";
  }
  return save.selectedFiles().front().toStdString();
}

}  // namespace ecu

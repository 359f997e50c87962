#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "core/console/file_commands.h"
#include "qt/qt_prompts.h"
#include "support/temp_folder.h"

namespace ecu {
namespace {

// A question's default button is the one Enter presses.
TEST(MessageBoxTest, TheDefaultIsTheButtonAsked) {
  QtPrompts prompts;
  QStringList defaults;
  for (int which : {0, 1}) {
    QTimer::singleShot(0, [&defaults] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      defaults << box->defaultButton()->text();
      box->defaultButton()->click();
    });
    const Answer answer = prompts.Show({.text = "Continue?",
                                        .buttons = Buttons::kYesNo,
                                        .title = "ECU",
                                        .icon = Icon::kQuestion,
                                        .default_button = which});
    EXPECT_EQ(answer, which == 0 ? Answer::kYes : Answer::kNo);
  }
  EXPECT_EQ(defaults, (QStringList{"&Yes", "&No"}));
}

// Download's dialog, a bare name typed: the dialog adds ".set" before it
// looks for a file to replace, so an existing base.set is asked about.
TEST(SaveDialogTest, AddsTheExtensionBeforeAskingAboutOverwrite) {
  testing::TempFolder folder;
  folder.Write("base.set", "EGO_RATE= 7\r\n");
  const QString previous = QDir::currentPath();
  QDir::setCurrent(QString::fromStdString(folder.path()));

  QStringList questions;
  // Types `name` into the open dialog and presses Save; an overwrite
  // question is answered No.
  const auto save_as = [&questions](const QString& name) {
    auto* dialog =
        qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    // As typed: the dialog follows the edits of its name field while it has
    // the focus.
    QLineEdit* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
    QApplication::setActiveWindow(dialog);
    edit->setFocus();
    edit->setText(name);
    emit edit->textEdited(name);
    QTimer::singleShot(0, [&questions] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      questions << box->text();
      box->button(QMessageBox::No)->click();
    });
    static_cast<QDialog*>(dialog)->accept();  // the Save button
  };
  QTimer::singleShot(0, [&] {
    save_as("base");
    save_as("fresh");
  });
  QtPrompts prompts;
  const std::string chosen =
      prompts.SaveFileName(FileCommands::SetupFileDialog(/*saving=*/true));
  QDir::setCurrent(previous);

  ASSERT_EQ(questions.size(), 1) << chosen;
  EXPECT_TRUE(questions[0].contains("base.set")) << questions[0].toStdString();
  EXPECT_EQ(chosen, folder.Path("fresh.set"));
}

}  // namespace
}  // namespace ecu

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "qt/qt_prompts.h"

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

}  // namespace
}  // namespace ecu

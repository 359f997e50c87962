#include "core/firmware/flash_utility.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "core/firmware_rig.h"
#include "support/temp_folder.h"
#include "ui/console_rig.h"
#include "ui/flash_utility_window.h"

namespace ecu::testing {
namespace {

template <typename T>
T* Control(QWidget* window, const char* name) {
  T* control = window->findChild<T*>(name);
  EXPECT_NE(control, nullptr) << name;
  return control;
}

QString Terminal(QWidget* window) {
  return Control<QPlainTextEdit>(window, "terminal")->toPlainText();
}

TEST(FlashUtilityConsoleTest, ToolMenuHandsTheLineToTheUtilityAndBack) {
  ConsoleRig rig;
  // The utility's own port reaches the same virtual ECU.
  VirtualLinePort flash_port(rig.clock, FarEndOf(*rig.port.ecu()));
  rig.app->set_flash_port(&flash_port);
  QAction* entry = rig.Find<QAction>("menu_tool_flash_utility");
  ASSERT_NE(entry, nullptr);
  EXPECT_FALSE(entry->isEnabled());
  rig.prompts.QueueAnswer(Answer::kOk);
  ASSERT_TRUE(rig.Trigger("menu_tool_reflash"));
  EXPECT_TRUE(entry->isEnabled());

  ASSERT_TRUE(rig.Trigger("menu_tool_flash_utility"));
  QWidget* sflash = rig.app->flash_utility();
  ASSERT_NE(sflash, nullptr);
  EXPECT_FALSE(rig.port.IsOpen());
  EXPECT_FALSE(rig.app->main_window().isVisible());
  EXPECT_EQ(Control<QLineEdit>(sflash, "line_dly")->text(), "0.020");
  EXPECT_FALSE(Control<QPushButton>(sflash, "Command2")->isEnabled());
  // Activation runs Monitor Check; Timer1 shows the loader's answer.
  ASSERT_TRUE(QTest::qWaitForWindowActive(sflash));
  EXPECT_EQ(flash_port.written(), std::vector<std::string>{"q"});
  rig.clock.Advance(0.1);
  QTest::qWait(250);
  EXPECT_TRUE(Terminal(sflash).endsWith("flash loader 1.0\nB"));
  // Back from another program: no second probe of the loader.
  QApplication::setActiveWindow(nullptr);
  QApplication::setActiveWindow(sflash);
  EXPECT_EQ(flash_port.written(), std::vector<std::string>{"q"});

  // Flash Program asks and goes (the run itself is the utility's and
  // ecu-cli flash's test); Halt, served between lines, stops it.
  TempFolder folder;
  const std::vector<std::string> lines = FirmwareLines(8);
  rig.prompts.QueueAnswer(Answer::kOk);
  rig.prompts.QueueFileName(folder.WriteLines("FW.S", lines));
  Control<QCheckBox>(sflash, "char_delay_box")->setChecked(true);
  auto* sent = Control<QLabel>(sflash, "lines_sent");
  QTimer halt;
  QObject::connect(&halt, &QTimer::timeout, [&] {
    if (sent->text() == " 2") Control<QPushButton>(sflash, "Command2")->click();
  });
  halt.start(0);
  Control<QPushButton>(sflash, "Command1")->click();
  EXPECT_EQ(sent->text(), " 2");
  EXPECT_EQ(rig.port.ecu()->loader().received(),
            "qq" + lines[0] + lines[1] + "\r\n" + lines[2] + "\r\n");
  EXPECT_EQ(rig.prompts.texts().back(), kFlashErrorMessage);
  EXPECT_TRUE(Control<QPushButton>(sflash, "Command1")->isEnabled());

  Control<QPushButton>(sflash, "exit_flash")->click();
  EXPECT_FALSE(sflash->isVisible());
  EXPECT_TRUE(rig.app->main_window().isVisible());
  EXPECT_FALSE(flash_port.IsOpen());
  EXPECT_FALSE(rig.port.IsOpen());  // until the next EnsureLink
  EXPECT_EQ(rig.ctx().console.live_window_mode, View::kNone);
}

}  // namespace
}  // namespace ecu::testing

#include "core/firmware/flash_utility.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "core/firmware_rig.h"
#include "integration/flash_firmware.h"
#include "qt/qt_serial_port.h"
#include "qt/system_clock.h"
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
  EXPECT_EQ(sflash->windowTitle(), "Tarnvel Flash Utility");
  EXPECT_EQ(Control<QCheckBox>(sflash, "char_delay_box")->text(),
            "Add charecter dly.");
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

  Control<QPushButton>(sflash, "exit_flash")->click();
  EXPECT_FALSE(sflash->isVisible());
  EXPECT_TRUE(rig.app->main_window().isVisible());
  EXPECT_FALSE(flash_port.IsOpen());
  EXPECT_FALSE(rig.port.IsOpen());  // until the next EnsureLink
  EXPECT_EQ(rig.ctx().console.live_window_mode, View::kNone);
}

// The window on its own, over a real serial port to ecu-sim.
class FlashAgainstSimTest : public ::testing::Test {
 protected:
  FlashAgainstSimTest() {
    link_.port_device = sim_.device();
    window_.show();
    prompts_.QueueAnswer(Answer::kOk);
    prompts_.QueueFileName(firmware_.Path("FW.S"));
  }
  std::string LoaderReceived() {
    sim_.Stop();
    return firmware_.Read("loader.bin");
  }

  FirmwareFolder firmware_{1024};
  SimProcess sim_{{"--loader", "--loader-log", firmware_.Path("loader.bin")}};
  QtSerialPort port_;
  SystemClock clock_;
  ScriptedPrompts prompts_;
  QtEventPump pump_;
  LinkState link_;
  FlashUtility utility_{FlashPlatform{port_, clock_, prompts_, pump_}, link_};
  FlashUtilityWindow window_{utility_, [] {}};
};

// The window's buttons drive a run over a real port (the run itself is
// ecu-cli flash's test): Halt stops it before the next line.
TEST_F(FlashAgainstSimTest, HaltButtonStopsBeforeTheNextLine) {
  auto* flash = Control<QPushButton>(&window_, "Command1");
  Control<QCheckBox>(&window_, "char_delay_box")->setChecked(true);
  QTimer::singleShot(
      400, [this] { Control<QPushButton>(&window_, "Command2")->click(); });
  flash->click();
  EXPECT_EQ(prompts_.texts(),
            (std::vector<std::string>{kFlashWarning, kFlashErrorMessage}));
  const int sent = utility_.lines_counter();
  EXPECT_GT(sent, 0);
  EXPECT_LT(sent, static_cast<int>(firmware_.lines().size()) - 1);
  EXPECT_EQ(Control<QLabel>(&window_, "lines_sent")->text(),
            " " + QString::number(sent));
  EXPECT_TRUE(flash->isEnabled());
  EXPECT_EQ(LoaderReceived(),
            firmware_.LoaderStream(true, static_cast<size_t>(sent)));
}

}  // namespace
}  // namespace ecu::testing

// A port that goes away while windows are open: the console tells it once,
// stays usable, sends nothing, and resumes by itself when the port is back.

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "qt/qt_serial_port.h"
#include "qt/system_clock.h"
#include "support/processes.h"
#include "ui/console_rig.h"
#include "ui/fuel_map_window.h"
#include "ui/monitor_window.h"
#include "ui/widgets/cell_grid.h"

namespace ecu::testing {
namespace {

// Basic Mapping with one typed cell not yet sent, over the virtual ECU.
TEST(LostLinkTest, EditsSurviveAndPollingResumesWithTheConfigurationBlock) {
  ConsoleRig rig;
  auto* window =
      rig.OpenView<FuelMapWindow>("menu_View_Mapping", View::kFuelMap);
  auto* cell = window->findChild<CellEdit*>("map_data_17");
  TypeOver(cell, "1.25");
  ASSERT_EQ(Background(cell), kYellowMark);
  rig.port.ClearWritten();

  rig.port.Unplug("Input/output error");
  auto seconds = [&](double s) {
    for (double t = 0; t < s; t += 0.1) {
      rig.Ticks(1);
      rig.clock.Advance(0.1);
    }
  };
  seconds(2.5);
  ASSERT_EQ(rig.prompts.texts(),
            std::vector<std::string>{
                "The ECU connection was lost (/dev/virtual: Input/output "
                "error). The console will reconnect when the port returns."});
  // Sending the cell while the port is gone keeps it marked; nothing leaves.
  QTest::keyClick(cell, Qt::Key_Return);
  EXPECT_EQ(Background(cell), kYellowMark);
  EXPECT_EQ(cell->text(), "1.25");
  EXPECT_TRUE(rig.port.written().empty());
  EXPECT_EQ(rig.prompts.shown().size(), 1u);

  rig.port.Replug();
  int ticks = 0;
  while (rig.port.written().empty() && ticks < 30) {
    seconds(0.1);
    ++ticks;
  }
  EXPECT_LE(ticks, 12);  // about once a second
  ASSERT_FALSE(rig.port.written().empty());
  EXPECT_EQ(rig.TakeCodes().front(), 'C');
  EXPECT_EQ(Background(cell), kYellowMark);
  QTest::keyClick(cell, Qt::Key_Return);
  EXPECT_EQ(Background(cell), kWhiteMark);

  // Lost again: the window's Exit and the main window's still work.
  rig.port.Unplug("Input/output error");
  seconds(1.5);
  EXPECT_EQ(rig.prompts.shown().size(), 2u);
  rig.FindIn<QPushButton>(window, "Command3d1")->click();
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(rig.app->main_window().isVisible());
  rig.prompts.QueueAnswer(Answer::kYes);
  ASSERT_TRUE(rig.TriggerIn(&rig.app->main_window(), "menu_file_exit"));
  EXPECT_TRUE(rig.app->stop());
}

// The console over a real pty to ecu-sim, killed and started again on the
// same link path, in real time.
TEST(LostLinkTest, AgainstTheSimKilledAndRestarted) {
  SimProcess sim;
  const std::filesystem::path folder = sim.folder();
  std::ofstream(folder / "port.cfg") << sim.device() << "\n";
  QtSerialPort port;
  SystemClock clock;
  ScriptedPrompts prompts;
  QtEventPump pump;
  ConsoleApp app(ConsolePlatform{port, clock, prompts, pump, {}}, {},
                 ConsoleFolders{folder.string(), folder.string()});
  EcuContext& ctx = app.context();
  app.main_window().show();
  bool green = false;
  const Subscription lamp = ctx.link.indicators().lamp.Subscribe(
      [&green](LampColour c) { green = green || c == LampColour::kGreen; });
  // Loop turns for `s` seconds, or until the lamp turns green; the seconds
  // it took.
  auto run = [&](double s, bool until_green = false) {
    const auto start = std::chrono::steady_clock::now();
    double took = 0;
    for (green = false; took < s && !(until_green && green);) {
      ctx.console.poll_tick = true;
      ctx.console.display_tick = true;
      app.loop().Step();
      took = std::chrono::duration<double>(std::chrono::steady_clock::now() -
                                           start)
                 .count();
    }
    return took;
  };

  app.views().OpenView(View::kMonitor);
  static const bool never = false;
  ASSERT_TRUE(app.loop().Start(never));
  run(0.5);
  ASSERT_GT(ctx.link.requests_sent(), 0);
  ASSERT_TRUE(prompts.shown().empty());

  sim.Stop();
  run(3);
  EXPECT_THAT(prompts.texts(),
              ElementsAre(StartsWith("The ECU connection was lost (")));
  EXPECT_TRUE(ctx.link.lost());
  const long sent_while_lost = ctx.link.requests_sent();
  run(1.5);
  EXPECT_EQ(ctx.link.requests_sent(), sent_while_lost);
  EXPECT_FALSE(ctx.link_state.demo_mode);

  const std::string log = (folder / "back.log").string();
  sim.Start({"--log", log});
  EXPECT_LT(run(5, /*until_green=*/true), 3.0);
  run(0.5);
  EXPECT_EQ(prompts.shown().size(), 1u);

  sim.Stop();
  run(1);
  EXPECT_EQ(prompts.shown().size(), 2u);
  EXPECT_EQ(SimLogRequests(log).front(), "'C'");

  // Exit while the port is gone.
  app.monitor().findChild<QPushButton*>("Command3d1")->click();
  EXPECT_TRUE(app.main_window().isVisible());
  app.main_window().close();
  EXPECT_TRUE(app.stop());
}

}  // namespace
}  // namespace ecu::testing

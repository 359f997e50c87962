#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "core/link/frame.h"
#include "core/link/link_startup.h"
#include "core/link/port_config.h"
#include "core/link/window_activation.h"
#include "core/signal.h"
#include "support/link_rig.h"
#include "support/temp_folder.h"
#include "support/text.h"

namespace ecu {
namespace {

using testing::Contains;

namespace fs = std::filesystem;
using testing::LinkRig;
using testing::ScriptedPrompts;
using testing::TempFolder;

const char kNoPortText[] = "Comm Port was not found, starting Demo Mode";

// "demo" itself, and its message, are checked on the console.
TEST(StartLinkTest, OnlyTheExactWordDemoSelectsDemoModeAndPortCfgAPort) {
  TempFolder folder;
  for (const char* line : {"DEMO", "demo now", " demo", ""}) {
    LinkState state;
    ScriptedPrompts prompts;
    StartLink(line, folder.path(), state, prompts);
    EXPECT_FALSE(state.demo_mode) << line;
    EXPECT_TRUE(prompts.shown().empty());
  }
  EXPECT_EQ(CommandLineText({"demo", "x"}), "demo x");
  // port.cfg's text (none: no file), the check mark and the device it
  // gives. Outside 1..6 a number has no check mark but is still used.
  const std::tuple<const char*, int, const char*> files[] = {
      {nullptr, 0, ""},
      {"3\r\n", 3, "/dev/ttyS2"},
      {" 9 \n", 0, "/dev/ttyS8"},
      {"/dev/pts/7\n", 0, "/dev/pts/7"},
      {"0\n", 0, ""}};
  for (const auto& [text, checked, device] : files) {
    TempFolder port_folder;
    if (text != nullptr) port_folder.Write("port.cfg", text);
    LinkState state;
    ApplyPortChoice(ReadPortChoice(port_folder.path()), &state);
    EXPECT_EQ(state.checked_port_entry, checked) << device;
    EXPECT_EQ(state.port_device, device);
  }
}

TEST(PortConfigTest, SelectPortRewritesTheFileOrSaysWhyNot) {
  TempFolder folder;
  folder.Write("port.cfg", "1\n");
  LinkState state;
  ScriptedPrompts prompts;
  StartLink("", folder.path(), state, prompts);
  SelectPort(3, folder.path(), state, prompts);
  EXPECT_EQ(folder.Read("port.cfg"), "3\r\n");
  EXPECT_EQ(state.checked_port_entry, 3);
  EXPECT_EQ(state.port_device, "/dev/ttyS0");
  SelectPortDevice("/tmp/ecu", folder.path(), state, prompts);
  EXPECT_EQ(ReadPortChoice(folder.path()).device, "/tmp/ecu");
  EXPECT_TRUE(prompts.shown().empty());
  // A folder that cannot take the file is told, not passed over.
  SelectPort(2, "/nonexistent/folder", state, prompts);
  ASSERT_EQ(prompts.shown().size(), 1u);
  EXPECT_TRUE(Contains(prompts.shown()[0].text, "could not be saved"));
}

// port.cfg beside a program run from where it was built; for an installed
// one (its folder writable or not) in the per-user folder, made on first
// use; the environment overrides both.
TEST(PortConfigTest, FolderFollowsHowTheProgramRuns) {
  TempFolder program;
  TempFolder home;
  const std::string user = home.Path("config/ecu-console");
  ::unsetenv("ECU_CONSOLE_CONFIG_DIR");
  EXPECT_EQ(PortConfigFolder({program.path(), false, user}), program.path());
  EXPECT_FALSE(fs::exists(user));
  EXPECT_EQ(PortConfigFolder({program.path(), true, user}), user);
  EXPECT_TRUE(fs::is_directory(user));
  EXPECT_EQ(PortConfigFolder({"/nonexistent/bin", false, user}), user);
  ::setenv("ECU_CONSOLE_CONFIG_DIR", "/tmp/somewhere", 1);
  EXPECT_EQ(PortConfigFolder({program.path(), true, user}), "/tmp/somewhere");
  ::unsetenv("ECU_CONSOLE_CONFIG_DIR");
}

TEST(EnsureLinkTest, OpensOnFirstUseThenOnlyPausesAndNeverInDemoMode) {
  LinkRig rig;
  double start = 0;
  auto seconds_taken = [&] {  // by EnsureLink, the port not ready
    rig.state.port_ready = false;
    start = rig.clock.now();
    rig.link.EnsureLink();
    return rig.clock.now() - start;
  };
  rig.port.Close();
  EXPECT_NEAR(seconds_taken(), 0.2, 1e-9);
  EXPECT_TRUE(rig.port.IsOpen());
  EXPECT_TRUE(rig.state.port_ready);
  EXPECT_NEAR(seconds_taken(), 0.2, 1e-9);
  EXPECT_FALSE(rig.state.port_ready);  // an open port is left untouched
  EXPECT_FLOAT_EQ(rig.state.last_receive_time, static_cast<float>(start));
  // Demo mode never touches the port, nor waits.
  rig.port.Close();
  rig.state.demo_mode = true;
  EXPECT_EQ(seconds_taken(), 0);
  EXPECT_TRUE(rig.state.port_ready);
  EXPECT_FALSE(rig.port.IsOpen());
  EXPECT_TRUE(rig.prompts.shown().empty());
}

// A port that cannot be opened and no port chosen at all end alike.
TEST(EnsureLinkTest, MissingPortFallsBackToDemoOnce) {
  for (const char* device : {"/dev/missing", ""}) {
    LinkRig rig;
    rig.port.Close();
    rig.state.port_device = device;
    rig.link.EnsureLink();
    EXPECT_TRUE(rig.state.demo_mode);
    EXPECT_TRUE(rig.state.port_ready);
    rig.link.EnsureLink();
    EXPECT_EQ(rig.prompts.texts(), std::vector<std::string>{kNoPortText});
  }
}

LinkRig AnsweringRig() {
  return LinkRig([](std::string_view, double) {
    return std::vector<testing::LineChunk>{
        {BuildReply('A', std::string(20, '\0')), 0}};
  });
}

TEST(WindowActivationTest, FillsOnceUpAndIdleAndNotWhenHiddenOrGone) {
  LinkRig rig = AnsweringRig();
  WindowActivation activation(rig.link, rig.pump);
  std::vector<std::string> steps;
  activation.Shown([&] {
    steps.push_back("activate");
    activation.FillWhenIdle([&] { steps.push_back("fill"); });
  });
  EXPECT_TRUE(steps.empty());  // not before the window is up
  // Up while a transaction runs: the fill waits for it to end.
  bool posted_inside = false;
  rig.pump.set_on_pump([&] {
    if (!posted_inside) {
      posted_inside = true;
      rig.pump.RunPosted();
      EXPECT_EQ(steps, std::vector<std::string>{"activate"});
    }
  });
  std::ignore = rig.link.SendCommand("A");
  rig.link.RunDeferred();
  EXPECT_EQ(steps, (std::vector<std::string>{"activate", "fill"}));
  // A window hidden or gone meanwhile is not filled.
  int runs = 0;
  {
    WindowActivation hiding(rig.link, rig.pump);
    hiding.Shown([&] { ++runs; });
    hiding.Hidden();
    rig.pump.RunPosted();
    EXPECT_EQ(runs, 0);
    // Shown again, it activates as usual.
    hiding.Shown([&] { ++runs; });
    rig.pump.RunPosted();
    EXPECT_EQ(runs, 1);
    // Hidden while waiting for the link.
    rig.pump.set_on_pump([&] {
      hiding.FillWhenIdle([&] { ++runs; });
      hiding.Hidden();
      rig.pump.set_on_pump(nullptr);
    });
    std::ignore = rig.link.SendCommand("A");
    rig.link.RunDeferred();
    EXPECT_EQ(runs, 1);
    hiding.Shown([&] { ++runs; });
  }
  // The model went before its window was up.
  rig.pump.RunPosted();
  EXPECT_EQ(runs, 1);
}

TEST(SignalTest, AListenerThatCancelsAnotherMidEmitStopsIt) {
  Signal<> signal;
  int second_heard = 0;
  Subscription second;
  Subscription first = signal.Subscribe([&] { second.Cancel(); });
  second = signal.Subscribe([&] { ++second_heard; });
  signal.Emit();
  EXPECT_EQ(second_heard, 0);
}

}  // namespace
}  // namespace ecu

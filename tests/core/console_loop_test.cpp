#include <gtest/gtest.h>

#include <functional>

#include "core/console/demo_simulation.h"
#include "core/console/polling_loop.h"
#include "core/console/startup_files.h"
#include "core/console/views.h"
#include "support/context_rig.h"
#include "support/temp_folder.h"

namespace ecu {
namespace {

// Records what the console asks the windows to do.
class RecordingHost : public WindowHost {
 public:
  void ShowView(View view) override { Note("show ", view); }
  void HideView(View view) override { Note("hide ", view); }
  void ShowMain() override { events.push_back("show main"); }
  void HideMain() override { events.push_back("hide main"); }
  bool HasView(View) const override { return true; }
  void Note(const std::string& what, View view) {
    events.push_back(what + std::to_string(static_cast<int>(view)));
  }
  std::vector<std::string> events;
};

// A whole console core over the virtual ECU, in virtual time.
struct ConsoleRig : testing::ContextRig {
  explicit ConsoleRig(const sim::SimOptions& options = {})
      : ContextRig(options) {}

  RecordingHost host;
  MonitorText monitor;
  Views views{ctx, host, monitor};
  DemoSimulation demo;
  PollingLoop loop{ctx, views, monitor, demo};

  // The plotter is the live window, on "Fastest", over an open link.
  void PlotFastest(std::function<void()> take_sample = [] {}) {
    ctx.link.EnsureLink();
    ctx.console.live_window_mode = View::kPlotter;
    ctx.console.fastest_log = true;
    loop.set_take_sample(std::move(take_sample));
  }
};

TEST(PollingLoopTest, NothingBeforeTheFirstWindowThenEachWindowsPass) {
  ConsoleRig rig;
  bool stop = false;
  int turns = 0;
  rig.pump.set_on_pump([&] {
    rig.ctx.console.poll_tick = true;
    if (++turns == 20) stop = true;
  });
  EXPECT_FALSE(rig.loop.Start(stop));
  EXPECT_TRUE(rig.port.written().empty());
  EXPECT_TRUE(rig.prompts.shown().empty());
  // The passes of the other windows.
  rig.pump.set_on_pump(nullptr);
  rig.ctx.link.EnsureLink();
  const std::pair<View, std::vector<int>> passes[] = {
      {View::kNone, {}},
      {View::kConfiguration, {}},
      {View::kFuelMap, {'A'}},
      {View::kPlotter, {'A'}},
      {View::kDashboard, {'A'}},
      {View::kCurves, {'A', 'F'}},
      {View::kSupplementary, {'A', 'F'}}};
  for (const auto& [mode, codes] : passes) {
    rig.ctx.console.live_window_mode = mode;
    int after = 0;
    rig.loop.set_after_pass(mode, [&] { ++after; });
    rig.loop.PollingPass();
    EXPECT_EQ(rig.TakeCodes(), codes) << static_cast<int>(mode);
    EXPECT_EQ(after, 1);
  }
}

// An adapter pulled while the monitor polls (the message and "C" first
// again are checked on the console's windows): the same device is tried
// about once a second, and a window opened while it is gone does not take
// the pulled cable for a missing port and start demo mode.
TEST(PollingLoopTest, ALostPortIsTriedOnceASecondAndNeverBecomesDemoMode) {
  ConsoleRig rig;
  rig.ctx.link.set_reconnects(true);
  rig.views.OpenView(View::kMonitor);
  bool stop = false;
  ASSERT_TRUE(rig.loop.Start(stop));
  auto steps = [&](double seconds) {
    for (double t = 0; t < seconds; t += 0.1) {
      rig.ctx.console.poll_tick = true;
      rig.loop.Step();
      rig.clock.Advance(0.1);
    }
  };
  rig.port.Unplug("Input/output error");
  const int opens_before = rig.port.opens_tried();
  steps(10.0);
  EXPECT_GE(rig.port.opens_tried() - opens_before, 8);
  EXPECT_LE(rig.port.opens_tried() - opens_before, 11);
  rig.views.OpenView(View::kDashboard);
  EXPECT_FALSE(rig.ctx.link_state.demo_mode);
  EXPECT_EQ(rig.prompts.texts().size(), 1u);
  rig.port.Replug();
  steps(1.5);
  EXPECT_FALSE(rig.ctx.link.lost());
  EXPECT_FALSE(rig.ctx.link_state.demo_mode);
}

// The plotter on "Fastest": one tick starts passes that follow each other
// without waiting, a sample from each answer; messages are served between
// them; anything but an answered pass waits for the next tick again.
TEST(PollingLoopTest, FastestPlotterSamplesEveryAnswerBackToBack) {
  for (const bool silent : {false, true}) {
    sim::SimOptions options;
    options.silent = silent;
    ConsoleRig rig(options);
    int samples = 0;
    rig.PlotFastest([&] { ++samples; });
    rig.TakeCodes();
    rig.ctx.console.poll_tick = true;
    rig.ctx.console.log_tick = true;  // the log timer adds nothing
    const int served = rig.pump.count();
    for (int i = 0; i < 10; ++i) rig.loop.Step();
    // Silent: one pass of ten attempts, then only ticks would send again.
    EXPECT_EQ(rig.TakeCodes(), std::vector<int>(10, 'A'));
    EXPECT_EQ(samples, silent ? 0 : 10);
    EXPECT_GE(rig.pump.count() - served, silent ? 0 : 10);
    // Back to a fixed interval: nothing without a tick.
    rig.ctx.console.fastest_log = false;
    rig.loop.Step();
    rig.loop.Step();
    EXPECT_TRUE(rig.TakeCodes().empty());
  }
}

// At a fixed interval the log takes a sample on its own tick, but only of
// values the last pass brought: a pulled port or a silent ECU must not fill
// the log (and the advisor) with the last answer stamped as new samples.
TEST(PollingLoopTest, LogTicksTakeNoSampleWithoutAnAnswer) {
  for (const bool silent : {false, true}) {
    ConsoleRig rig;
    int samples = 0;
    rig.PlotFastest([&] { ++samples; });
    rig.ctx.link.set_reconnects(true);
    rig.ctx.console.fastest_log = false;
    auto ticks = [&](int count) {
      for (int i = 0; i < count; ++i) {
        rig.ctx.console.poll_tick = rig.ctx.console.log_tick = true;
        rig.loop.Step();
        rig.clock.Advance(0.1);
      }
    };
    ticks(3);
    EXPECT_EQ(samples, 3);
    if (silent) {
      rig.port.silent_codes = {'A'};
      rig.prompts.QueueAnswer(Answer::kNo);  // not demo mode
    } else {
      rig.port.Unplug("Input/output error");
    }
    ticks(5);
    EXPECT_EQ(samples, 3) << silent;
    rig.port.silent_codes.clear();
    rig.port.Replug();
    ticks(15);
    EXPECT_GE(samples, 6) << silent;
  }
}

// Between passes at the line's rate only the reply handling serves window
// messages; a user action that needs the link, made meanwhile, must still
// run before the next request, not once the run stops.
TEST(PollingLoopTest, FastestLetsUserActionsAndPaintsInBetweenPasses) {
  ConsoleRig rig;
  rig.PlotFastest();
  long ran_after = -1;
  bool pressed = false;
  rig.pump.set_on_pump([&] {
    if (pressed || !rig.ctx.link.busy()) return;
    pressed = true;  // a key press served while the first reply is handled
    rig.ctx.link.RunWhenIdle([&] { ran_after = rig.ctx.link.requests_sent(); });
  });
  const long before = rig.ctx.link.requests_sent();
  rig.ctx.console.poll_tick = true;
  for (int i = 0; i < 3; ++i) rig.loop.Step();
  EXPECT_EQ(rig.ctx.link.requests_sent(), before + 3);
  EXPECT_EQ(ran_after, before + 1);
  // The repaint that a display tick leaves waiting is done while the next
  // request is on the line, not between a reply and the next request: a
  // 5 ms paint on every pass must not stretch the passes.
  bool paint_due = false;
  rig.loop.set_on_display(View::kPlotter, [&] { paint_due = true; });
  rig.pump.set_on_pump([&] {
    if (paint_due) rig.clock.Advance(0.005);
    paint_due = false;
  });
  rig.ctx.console.poll_tick = true;
  rig.loop.Step();
  const double start = rig.clock.now();
  for (int i = 0; i < 10; ++i) {
    rig.ctx.console.display_tick = true;
    rig.loop.Step();
  }
  EXPECT_NEAR(rig.clock.now() - start, 10 * 33 * 10.0 / 19200, 0.001);
}

// Demo mode has no transactions to wait on: Fastest samples on the ticks
// rather than spinning.
TEST(PollingLoopTest, FastestInDemoModeKeepsToTheTicks) {
  ConsoleRig rig;
  rig.ctx.link_state.demo_mode = true;
  int samples = 0;
  rig.PlotFastest([&] { ++samples; });
  rig.ctx.console.poll_tick = true;
  for (int i = 0; i < 5; ++i) rig.loop.Step();
  EXPECT_EQ(samples, 1);
  EXPECT_TRUE(rig.port.written().empty());
}

TEST(ViewsTest, SwitchRequestsAreServedInTheirOrder) {
  ConsoleRig rig;
  rig.ctx.link_state.demo_mode = true;
  rig.views.RequestSwitch(View::kPlotter);
  rig.views.RequestSwitch(View::kDashboard);
  rig.views.ServeSwitchRequests();
  EXPECT_EQ(rig.host.events, (std::vector<std::string>{"hide main", "show 6",
                                                       "show 4", "hide main"}));
  // The one opened last decides the mode.
  EXPECT_EQ(rig.ctx.console.live_window_mode, View::kPlotter);
  EXPECT_FALSE(rig.ctx.console.SwitchRequest(View::kPlotter));
}

TEST(ViewsTest, FuelMapReadsTheConfigurationBlockFirst) {
  ConsoleRig rig;
  const double start = rig.clock.now();
  rig.views.OpenView(View::kFuelMap);
  EXPECT_EQ(rig.TakeCodes(), std::vector<int>{'C'});
  EXPECT_EQ(rig.ctx.console.live_window_mode, View::kFuelMap);
  EXPECT_GT(rig.clock.now() - start, 0.6);  // 0.2 link + 0.2 + 0.2 pauses
  rig.views.CloseView(View::kFuelMap);
  EXPECT_EQ(rig.ctx.console.live_window_mode, View::kNone);
  EXPECT_EQ(rig.host.events.back(), "show main");
}

// Master mode from debug.ini is checked on the main window.
TEST(StartupFilesTest, OemText) {
  testing::TempFolder folder;
  EXPECT_EQ(ReadOemText(folder.path()), "");
  folder.Write("OEM.TXT", "Alpha\r\nBeta\n");
  EXPECT_EQ(ReadOemText(folder.path()), "Alpha\rBeta\r");
}

}  // namespace
}  // namespace ecu

#include "core/link/window_activation.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "core/link/frame.h"
#include "core/signal.h"
#include "support/link_rig.h"

namespace ecu {
namespace {

using testing::LinkRig;

LinkRig AnsweringRig() {
  return LinkRig([](std::string_view, double) {
    return std::vector<testing::LineChunk>{
        {BuildReply('A', std::string(20, '\0')), 0}};
  });
}

TEST(WindowActivationTest, ActivatesOnceUpAndFillsOnceTheLinkIsIdle) {
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
}

TEST(WindowActivationTest, AWindowHiddenOrGoneMeanwhileIsNotFilled) {
  LinkRig rig = AnsweringRig();
  int runs = 0;
  {
    WindowActivation activation(rig.link, rig.pump);
    activation.Shown([&] { ++runs; });
    activation.Hidden();
    rig.pump.RunPosted();
    EXPECT_EQ(runs, 0);
    // Shown again, it activates as usual.
    activation.Shown([&] { ++runs; });
    rig.pump.RunPosted();
    EXPECT_EQ(runs, 1);
    // Hidden while waiting for the link.
    rig.pump.set_on_pump([&] {
      activation.FillWhenIdle([&] { ++runs; });
      activation.Hidden();
      rig.pump.set_on_pump(nullptr);
    });
    std::ignore = rig.link.SendCommand("A");
    rig.link.RunDeferred();
    EXPECT_EQ(runs, 1);
    activation.Shown([&] { ++runs; });
  }
  // The model went before its window was up.
  rig.pump.RunPosted();
  EXPECT_EQ(runs, 1);
}

TEST(SignalTest, AListenerHearsUntilItsSubscriptionEnds) {
  Signal<int> signal;
  std::vector<int> heard;
  std::optional<Subscription> kept =
      signal.Subscribe([&](int v) { heard.push_back(v); });
  signal.Emit(1);
  Subscription moved = std::move(*kept);
  kept.reset();  // the moved-from one owns nothing
  signal.Emit(2);
  moved.Cancel();
  signal.Emit(3);
  EXPECT_EQ(heard, (std::vector<int>{1, 2}));
  EXPECT_TRUE(signal.empty());
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

#include "core/link/window_activation.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "core/link/frame.h"
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

}  // namespace
}  // namespace ecu

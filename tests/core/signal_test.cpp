#include "core/signal.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace ecu {
namespace {

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

// Times and waits of any size, not-a-number and endless ones included,
// through every conversion of seconds into the ticks of a system call, the
// midnight rule, the command-line timers and the link's own waits: each
// gives a wait of at most a day and ends.

#include <chrono>
#include <cmath>
#include <vector>

#include "app/cli/live_polling.h"
#include "core/ecu_context.h"
#include "core/platform/clock.h"
#include "fuzz/fuzz_support.h"
#include "support/counting_pump.h"
#include "support/fake_clock.h"
#include "support/scripted_prompts.h"
#include "support/virtual_line_port.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ecu;
  using namespace ecu::fuzz;
  FuzzedDataProvider in(data, size);
  const double seconds = in.ConsumeFloatingPoint<double>();

  const double bounded = BoundedWait(seconds);
  Require(bounded >= 0 && bounded <= kLongestWaitSeconds,
          "a wait beyond a day");
  const int ms = WaitMilliseconds(seconds);
  Require(ms >= 1 && ms <= 86'400'000, "a millisecond wait out of range");
  const std::timespec wait = WaitTimespec(seconds);
  Require(wait.tv_sec >= 0 && wait.tv_sec <= 86'400 && wait.tv_nsec >= 0 &&
              wait.tv_nsec < 1'000'000'000,
          "a timespec a system call refuses");

  // Two readings of the clock, a day's float seconds each.
  const float since = in.ConsumeFloatingPointInRange<float>(0, 86399.99f);
  const float now = in.ConsumeFloatingPointInRange<float>(0, 86399.99f);
  const float elapsed = ElapsedSince(since, now);
  Require(elapsed >= -0.1f && elapsed <= 86400.1f,
          "an elapsed time beyond a day");

  // ecu-cli's timers, held up for any time.
  using TimePoint = cli::Timer::TimePoint;
  const TimePoint start{
      std::chrono::milliseconds(in.ConsumeIntegral<uint32_t>())};
  cli::Timer timer(start, in.ConsumeIntegral<int>());
  const TimePoint later =
      start + std::chrono::milliseconds(in.ConsumeIntegral<uint32_t>());
  if (timer.TakeDue(later)) {
    Require(timer.next() > later, "a timer due again at once");
  }

  // The link's waits in virtual time: never longer than asked (or a day).
  testing::FakeClock clock;
  testing::VirtualLinePort port(clock, [](std::string_view, double) {
    return std::vector<testing::LineChunk>{};
  });
  testing::ScriptedPrompts prompts;
  testing::CountingPump pump;
  EcuContext ctx(port, clock, prompts, pump);
  ctx.link_state.port_device = "/dev/virtual";
  port.Open("/dev/virtual");
  const double before = clock.now();
  ctx.link.Pause(seconds);
  ctx.link.WaitForBytes(seconds, in.ConsumeIntegralInRange(0, 40));
  Require(
      std::isfinite(clock.now()) && clock.now() - before <= 2 * bounded + 0.01,
      "a wait longer than it was asked for");
  return 0;
}

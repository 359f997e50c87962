// Any bytes as the ECU's answer to any request, whole, in pieces or late:
// the command transaction (frame checks, retries, the watchdog, dispatch to
// every decoder) over the in-memory line in virtual time.

#include <string>
#include <vector>

#include "core/ecu_context.h"
#include "core/link/frame.h"
#include "fuzz/fuzz_support.h"
#include "support/counting_pump.h"
#include "support/fake_clock.h"
#include "support/scripted_prompts.h"
#include "support/virtual_line_port.h"

namespace ecu::fuzz {
namespace {

using testing::LineChunk;

// Ten attempts of 0.125 s, with room for the float clock's coarse steps.
constexpr double kLongestTransaction = 1.5;
constexpr int kMostCommands = 12;

// One piece of an answer: raw bytes, or a frame with a good checksum (so
// that the decoders are reached), whole or cut in two.
void AddPieces(FuzzedDataProvider& in, uint8_t asked,
               std::vector<LineChunk>* chunks) {
  const double delay = in.ConsumeIntegralInRange(0, 300) / 1000.0;
  switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0:
      chunks->push_back({in.ConsumeRandomLengthString(40), delay});
      return;
    default: {
      const uint8_t code =
          in.ConsumeBool() ? asked : in.ConsumeIntegral<uint8_t>();
      const std::string data = in.ConsumeRandomLengthString(30);
      const std::string frame =
          BuildReply(code, data, in.ConsumeIntegral<uint8_t>());
      const size_t cut = in.ConsumeIntegralInRange<size_t>(0, frame.size());
      chunks->push_back({frame.substr(0, cut), delay});
      chunks->push_back(
          {frame.substr(cut), in.ConsumeIntegralInRange(0, 200) / 1000.0});
      return;
    }
  }
}

}  // namespace
}  // namespace ecu::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ecu;
  using namespace ecu::fuzz;
  FuzzedDataProvider in(data, size);
  auto far_end = [&in](std::string_view request, double) {
    std::vector<LineChunk> chunks;
    const int pieces = in.ConsumeIntegralInRange(0, 3);
    for (int i = 0; i < pieces && in.remaining_bytes() > 0; ++i) {
      AddPieces(in, ByteAt(request, 2), &chunks);
    }
    return chunks;
  };
  testing::FakeClock clock;
  testing::VirtualLinePort port(clock, far_end);
  testing::ScriptedPrompts prompts;
  testing::CountingPump pump;
  EcuContext ctx(port, clock, prompts, pump);
  ctx.link.set_slip_handler(
      [](const std::string& slip) { Require(false, "link slip: " + slip); });
  ctx.link_state.port_device = "/dev/virtual";
  // The watchdog's question may be answered either way.
  if (in.ConsumeBool()) prompts.QueueAnswer(Answer::kYes);
  ctx.link.EnsureLink();

  std::vector<uint8_t> codes;
  for (int c = 0; c < 256; ++c) {
    if (ctx.replies.LengthOf(static_cast<uint8_t>(c)) > 0) codes.push_back(c);
  }
  for (int n = 0; n < kMostCommands && in.remaining_bytes() > 0; ++n) {
    const uint8_t code =
        codes[in.ConsumeIntegralInRange<size_t>(0, codes.size() - 1)];
    const std::string command =
        std::string(1, static_cast<char>(code)) + in.ConsumeBytesAsString(3);
    const double start = clock.now();
    const size_t writes_before = port.written().size();
    const CommandOutcome outcome = ctx.link.SendCommand(command);
    Require(clock.now() - start < kLongestTransaction,
            "a transaction outlasted its ten attempts");
    const size_t writes = port.written().size() - writes_before;
    Require(writes <= 10, "more than ten attempts");
    for (size_t i = writes_before; i < port.written().size(); ++i) {
      Require(port.written()[i] == BuildRequest(command),
              "a request frame other than the one asked for");
    }
    Require(outcome.result != CommandResult::kAnswered || writes > 0,
            "answered without asking");
    RequireFiniteLiveData(ctx.live);
  }
  return 0;
}

// Any bytes from the console to ecu-sim, in any pieces: the request reader
// cuts out exactly the frames whose checksum holds and accounts for every
// other byte, and the virtual ECU (or its firmware loader) answers each
// request with a whole reply of the length the console expects.

#include <string>
#include <vector>

#include "core/ecu_context.h"
#include "core/link/frame.h"
#include "fuzz/fuzz_support.h"
#include "sim/request_reader.h"
#include "sim/virtual_ecu.h"
#include "support/counting_pump.h"
#include "support/fake_clock.h"
#include "support/scripted_prompts.h"
#include "support/virtual_line_port.h"

namespace {

// The console's reply table, for the lengths it expects.
const ecu::ReplyTable& ConsoleReplies() {
  static ecu::testing::FakeClock clock;
  static ecu::testing::VirtualLinePort port(
      clock, [](std::string_view, double) {
        return std::vector<ecu::testing::LineChunk>{};
      });
  static ecu::testing::ScriptedPrompts prompts;
  static ecu::testing::CountingPump pump;
  static ecu::EcuContext ctx(port, clock, prompts, pump);
  return ctx.replies;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ecu;
  using namespace ecu::fuzz;
  FuzzedDataProvider in(data, size);
  sim::SimOptions options;
  options.loader_mode = in.ConsumeBool();
  options.random_calibration = in.ConsumeBool();
  options.seed = in.ConsumeIntegral<uint8_t>();
  sim::VirtualEcu ecu(options);
  size_t log_bytes = 0;
  ecu.set_log(
      [&log_bytes](const std::string& line) { log_bytes += line.size(); });
  sim::RequestReader reader;

  size_t given = 0;
  size_t cut = 0;
  size_t skipped = 0;
  double now = 0;
  while (in.remaining_bytes() > 0) {
    // Noise, or a request with a good checksum and any arguments, so that
    // every command handler is reached with any address and value.
    std::string bytes;
    if (in.ConsumeBool()) {
      bytes = BuildRequest(in.ConsumeBytesAsString(4));
    } else {
      bytes = in.ConsumeBytesAsString(in.ConsumeIntegralInRange(1, 24));
    }
    now += in.ConsumeIntegralInRange(0, 1000) / 1000.0;

    int skipped_now = 0;
    for (const std::string& request : reader.Add(bytes, &skipped_now)) {
      Require(request.size() == kRequestLength && request[0] == 0x02 &&
                  request[1] == 0x08 &&
                  BuildRequest(request.substr(2, 4)) == request,
              "a request the reader should have passed over");
      cut += request.size();
    }
    given += bytes.size();
    skipped += static_cast<size_t>(skipped_now);
    Require(cut + skipped + reader.pending() == given,
            "the request reader lost or made up bytes");

    const bool loader = ecu.controller().awaiting_firmware;
    for (const sim::Transmission& t : ecu.Receive(bytes, now)) {
      if (loader) continue;
      Require(IsValidReplyFrame(t.bytes), "the sim sent a broken reply frame");
      const int expected = ConsoleReplies().LengthOf(ByteAt(t.bytes, 2));
      Require(expected == 0 || static_cast<int>(t.bytes.size()) == expected + 2,
              "the sim's reply to code " + std::to_string(ByteAt(t.bytes, 2)) +
                  " is not the length the console expects");
    }
  }
  return 0;
}

// Firmware files of any bytes, sent by the flash utility to the virtual
// ECU's loader (which checks the S-records as they come). What reaches the
// line must be the file's own bytes, line ends aside: all of them after a
// clean run, the first part of them after the loader's "E".

#include <string>
#include <string_view>

#include "core/firmware/flash_utility.h"
#include "core/link/link_state.h"
#include "fuzz/fuzz_support.h"
#include "support/counting_pump.h"
#include "support/fake_clock.h"
#include "support/scripted_prompts.h"
#include "support/virtual_line_port.h"

namespace {

std::string WithoutLineEnds(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c != '\r' && c != '\n') out.push_back(c);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ecu;
  using namespace ecu::fuzz;
  if (size == 0) return 0;
  const uint8_t settings = data[0];
  const std::string_view file(reinterpret_cast<const char*>(data) + 1,
                              size - 1);
  const std::string path = WriteScratchFile("fuzz.S", file);

  testing::FakeClock clock;
  sim::SimOptions options;
  options.loader_mode = true;
  testing::VirtualLinePort port(clock, options);
  testing::ScriptedPrompts prompts;
  testing::CountingPump pump;
  LinkState link;
  link.port_device = "/dev/virtual";
  FlashUtility utility(FlashPlatform{port, clock, prompts, pump}, link);
  utility.SetCharDelayTicked((settings & 1) != 0);
  utility.SetLineDelayTicked((settings & 2) != 0);
  utility.SetCharDelayText((settings & 4) != 0 ? "0.0005" : "0");
  utility.SetLineDelayText((settings & 8) != 0 ? "0.002" : "x");
  prompts.QueueAnswer(Answer::kOk);
  prompts.QueueFileName(path);

  const FlashOutcome outcome = utility.FlashProgram();
  if (file.empty()) {
    Require(outcome == FlashOutcome::kBadFile, "an empty file was flashed");
    return 0;
  }
  Require(outcome == FlashOutcome::kCompleted ||
              outcome == FlashOutcome::kLoaderError,
          "a run against a ready loader ended otherwise");
  std::string sent;
  for (const std::string& bytes : port.written()) sent += bytes;
  Require(sent.compare(0, 1, "q") == 0, "no readiness check before the file");
  const std::string on_line = WithoutLineEnds(std::string_view(sent).substr(1));
  const std::string in_file = WithoutLineEnds(file);
  Require(in_file.compare(0, on_line.size(), on_line) == 0,
          "bytes the file does not hold went to the loader");
  Require(outcome != FlashOutcome::kCompleted || on_line == in_file,
          "a completed run left part of the file unsent");
  Require(!utility.running() && utility.controls().exit_enabled,
          "the utility did not return to idle");
  return 0;
}

// ecu-sim's command line, any arguments: read by CLI11 and the checked
// number parser, it is either refused with a reason or gives options
// within the ranges the help states.

#include <string>

#include "app/sim/sim_command_line.h"
#include "fuzz/command_line.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ecu;
  using namespace ecu::fuzz;
  std::string error;
  const auto line = sim::ParseSimCommandLine(ArgumentsOf(data, size), &error);
  if (!line) {
    Require(!error.empty(), "a command line refused without a reason");
    return 0;
  }
  const sim::SimOptions& o = line->options;
  for (int every : {o.drop_every, o.corrupt_every, o.split_every,
                    o.extra_byte_every, o.wrong_length_every}) {
    Require(every >= 0 && every <= 1'000'000, "a fault count out of range");
  }
  Require(o.delay_s >= 0 && o.delay_s <= 60 && o.split_gap_s >= 0 &&
              o.split_gap_s <= 60,
          "a delay out of range");
  Require(o.time_scale >= 0.1 && o.time_scale <= 100,
          "a time scale out of range");
  Require(o.true_map_error_percent >= 0 && o.true_map_error_percent <= 50,
          "a map error out of range");
  Require(
      o.revision >= 0 && o.revision <= 0xFFFF && o.serial_number <= 0xFFFFFF,
      "an identity out of range");
  return 0;
}

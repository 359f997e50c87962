#ifndef ECU_APP_SIM_SIM_COMMAND_LINE_H_
#define ECU_APP_SIM_SIM_COMMAND_LINE_H_

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <vector>

#include "sim/sim_options.h"

namespace ecu::sim {

// Everything ecu-sim is told on its command line.
struct SimCommandLine {
  SimOptions options;
  std::string link_path;  // --link: a symlink to the device, e.g. /tmp/ecu
  std::string log_path;   // --log: traffic log file
  // --loader-log: every byte the firmware loader takes, raw
  std::string loader_log_path;
  std::string dump_path;  // --dump: the memory as a setup file
  bool pacing = true;     // --no-pacing turns the 19200-baud timing off
};

// ecu-sim's options and help, read into `line`.
void AddSimOptions(CLI::App& app, SimCommandLine* line);

// Reads the arguments after the program name. Nothing, with a reason in
// `error`, for an unknown option, a missing value or a value out of range
// (and for --help, whose text is then in `error`).
std::optional<SimCommandLine> ParseSimCommandLine(
    const std::vector<std::string>& args, std::string* error);

}  // namespace ecu::sim

#endif  // ECU_APP_SIM_SIM_COMMAND_LINE_H_

#ifndef ECU_APP_CLI_MONITOR_COMMAND_H_
#define ECU_APP_CLI_MONITOR_COMMAND_H_

#include <string>
#include <vector>

#include "app/cli/cli_session.h"

namespace ecu::cli {

// "monitor [--count N] [--csv]": polls as the Real Time Monitor does, one
// pass every 100 ms, and prints its read-outs after each pass: a block of
// labelled lines, or one comma-separated line under a header. Runs N
// passes, or until Ctrl+C.
int RunMonitor(CliSession& session, const std::vector<std::string>& args);

}  // namespace ecu::cli

#endif  // ECU_APP_CLI_MONITOR_COMMAND_H_

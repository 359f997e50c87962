#ifndef ECU_APP_CLI_LOG_COMMAND_H_
#define ECU_APP_CLI_LOG_COMMAND_H_

#include <string>
#include <vector>

#include "app/cli/cli_session.h"

namespace ecu::cli {

// "log FILE [--interval MS] [--count N]": logs as the plotter window does.
// The configuration is read when the run starts, "A" is asked on every
// 100 ms tick, and one line is written every MS milliseconds (1000 unless
// given) in the plotter's file format. Runs N samples, or until Ctrl+C.
int RunLog(CliSession& session, const std::vector<std::string>& args);

}  // namespace ecu::cli

#endif  // ECU_APP_CLI_LOG_COMMAND_H_

#ifndef ECU_APP_CLI_LOAD_COMMAND_H_
#define ECU_APP_CLI_LOAD_COMMAND_H_

#include <string>
#include <vector>

#include "app/cli/cli_session.h"

namespace ecu::cli {

// "load FILE": writes a setup file into the ECU line by line, as the File
// menu's upload does, after reading the configuration block.
int RunLoad(CliSession& session, const std::vector<std::string>& args);

}  // namespace ecu::cli

#endif  // ECU_APP_CLI_LOAD_COMMAND_H_

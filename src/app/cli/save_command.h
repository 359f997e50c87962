#ifndef ECU_APP_CLI_SAVE_COMMAND_H_
#define ECU_APP_CLI_SAVE_COMMAND_H_

#include <string>
#include <vector>

#include "app/cli/cli_session.h"

namespace ecu::cli {

// "save FILE": copies the ECU's calibration into a setup file, as the File
// menu's download does.
int RunSave(CliSession& session, const std::vector<std::string>& args);

}  // namespace ecu::cli

#endif  // ECU_APP_CLI_SAVE_COMMAND_H_

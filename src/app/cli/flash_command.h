#ifndef ECU_APP_CLI_FLASH_COMMAND_H_
#define ECU_APP_CLI_FLASH_COMMAND_H_

#include <string>
#include <vector>

#include "app/cli/cli_session.h"

namespace ecu::cli {

// ecu-cli flash FILE.S [--line-delay S] [--char-delay S] [--prepare]: the
// flash utility's procedure without its window, with a progress bar.
// Ctrl-C halts before the next line. Exit 0 when every line went out and
// the loader raised no error; 1 on "E", a halt, no loader or a bad file.
int RunFlash(CliSession& session, const std::vector<std::string>& args);

}  // namespace ecu::cli

#endif  // ECU_APP_CLI_FLASH_COMMAND_H_

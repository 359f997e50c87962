#ifndef ECU_APP_CLI_CLI_COMMAND_LINE_H_
#define ECU_APP_CLI_CLI_COMMAND_LINE_H_

#include <CLI/CLI.hpp>
#include <string>

#include "app/cli/cli_commands.h"

namespace ecu::cli {

// The port given with --port: a device path, or the device of a COM port
// number.
struct PortArgument {
  std::string device;
  bool given = false;
};

// ecu-cli's whole command line on `app`: its name, help, --port and every
// command with its options. The commands keep their own options.
void SetUpCliCommandLine(CLI::App& app, CliCommands& commands,
                         PortArgument* port);

}  // namespace ecu::cli

#endif  // ECU_APP_CLI_CLI_COMMAND_LINE_H_

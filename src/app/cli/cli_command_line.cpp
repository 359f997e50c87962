#include "app/cli/cli_command_line.h"

#include "app/command_line/checked_options.h"
#include "core/link/port_config.h"
#include "core/numbers/checked_number.h"

namespace ecu::cli {
namespace {

constexpr char kPurpose[] =
    "Talks to the ECU over its 19200-baud serial line: the console's core "
    "without windows, for scripts, backups and the bench.";

constexpr char kFooter[] =
    "The port is DEVICE when given, else the one stored in port.cfg by the "
    "console's Comm menu.\n"
    "Exit status: 0 success; 1 the ECU did not answer, the port could not be "
    "opened or was lost, a setup file could not be read or written or had "
    "lines refused, a data log could not be written, or a flash failed; 2 "
    "the command line was not understood.";

// COM port numbers as port.cfg holds them.
constexpr int64_t kHighestComPort = 255;

// A plain number names a COM port, as in port.cfg; anything else is a
// device path used as it stands.
void AddPortOption(CLI::App& app, PortArgument* port) {
  app.add_option_function<std::string>(
         "--port",
         [port](const std::string& text) {
           port->given = true;
           port->device = text;
           if (text.empty()) {
             throw CLI::ValidationError(
                 "--port", "'' is not a port number or device path");
           }
           if (text.find_first_not_of("0123456789") != std::string::npos) {
             return;
           }
           std::string problem;
           const auto number =
               CheckedWholeNumber(text, 1, kHighestComPort, &problem);
           if (!number) throw CLI::ValidationError("--port", problem);
           port->device = DeviceForComPort(static_cast<int>(*number));
         },
         "the ECU's port: a COM port number (1 to 255) or a device path such "
         "as /dev/ttyUSB0")
      ->type_name("DEVICE");
}

}  // namespace

void SetUpCliCommandLine(CLI::App& app, CliCommands& commands,
                         PortArgument* port) {
  app.name("ecu-cli");
  app.description(kPurpose);
  command_line::SetUpHelp(app, kFooter);
  app.set_help_all_flag("--help-all", "Print the help of every command");
  // --port may come before or after the command.
  app.fallthrough();
  AddPortOption(app, port);

  AddInfoCommand(commands);
  AddResetCommand(commands);
  AddPingCommand(commands);
  AddSaveCommand(commands);
  AddLoadCommand(commands);
  AddMonitorCommand(commands);
  AddLogCommand(commands);
  AddFlashCommand(commands);
  AddDiffCommand(commands);
  AddDetectCommand(commands);
  AddAdviseCommand(commands);
}

}  // namespace ecu::cli

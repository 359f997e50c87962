// ecu-cli: the console's core without windows, for scripts and tests.

#include <QCoreApplication>
#include <string>
#include <vector>

#include "app/cli/cli_commands.h"
#include "app/command_line/checked_options.h"
#include "core/link/port_config.h"
#include "core/numbers/checked_number.h"
#include "qt/config_folder.h"

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
void AddPortOption(CLI::App& app, std::string* device, bool* given) {
  app.add_option_function<std::string>(
         "--port",
         [device, given](const std::string& text) {
           *given = true;
           *device = text;
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
           *device = DeviceForComPort(static_cast<int>(*number));
         },
         "the ECU's port: a COM port number (1 to 255) or a device path such "
         "as /dev/ttyUSB0")
      ->type_name("DEVICE");
}

int Main(int argc, char** argv) {
  CLI::App app(kPurpose, "ecu-cli");
  command_line::SetUpHelp(app, kFooter);
  app.set_help_all_flag("--help-all", "Print the help of every command");
  // --port may come before or after the command.
  app.fallthrough();
  std::string device;
  bool device_given = false;
  AddPortOption(app, &device, &device_given);

  CliCommands commands(app);
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

  command_line::ParseOutcome outcome =
      command_line::Parse(app, std::vector<std::string>(argv + 1, argv + argc));
  if (outcome.kind == command_line::ParseOutcome::Kind::kRun &&
      commands.Chosen() == nullptr) {
    outcome = {command_line::ParseOutcome::Kind::kUsageError,
               "no command given"};
  }
  if (outcome.kind != command_line::ParseOutcome::Kind::kRun) {
    return command_line::Report(outcome, "ecu-cli");
  }
  if (!device_given) {
    device = ReadPortChoice(ConsoleConfigFolder()).device;
  }
  CliSession session(device);
  return (*commands.Chosen())(session);
}

}  // namespace
}  // namespace ecu::cli

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  return ecu::cli::Main(argc, argv);
}

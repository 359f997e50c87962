// ecu-cli: the console's core without windows, for scripts and tests.

#include <QCoreApplication>
#include <string>
#include <vector>

#include "app/cli/cli_command_line.h"
#include "app/cli/cli_commands.h"
#include "app/command_line/checked_options.h"
#include "core/link/port_config.h"
#include "qt/config_folder.h"

namespace ecu::cli {
namespace {

int Main(int argc, char** argv) {
  CLI::App app;
  CliCommands commands(app);
  PortArgument port;
  SetUpCliCommandLine(app, commands, &port);

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
  if (!port.given) {
    port.device = ReadPortChoice(ConsoleConfigFolder()).device;
  }
  CliSession session(port.device);
  return (*commands.Chosen())(session);
}

}  // namespace
}  // namespace ecu::cli

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  return ecu::cli::Main(argc, argv);
}

#include "app/cli/cli_commands.h"

namespace ecu::cli {

CLI::App* CliCommands::Add(const std::string& name, const std::string& help,
                           Action action) {
  CLI::App* command = app_.add_subcommand(name, help);
  // The exit statuses and the port are told once, in the main help.
  command->footer("");
  commands_.emplace_back(command, std::move(action));
  return command;
}

const CliCommands::Action* CliCommands::Chosen() const {
  for (const auto& [command, action] : commands_) {
    if (command->parsed()) return &action;
  }
  return nullptr;
}

void AddWaitFlag(CLI::App& command, bool* wait) {
  command.add_flag(
      "--wait", *wait,
      "when the port is lost, wait for it (reopened about once a second) "
      "and when the ECU falls silent, keep asking; without it the run ends "
      "with exit status 1 once the port is lost or 3 passes in a row go "
      "unanswered");
}

}  // namespace ecu::cli

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
  command.add_flag("--wait", *wait,
                   "wait for a lost port to return (tried once a second) or "
                   "a silent ECU to answer, instead of ending with exit "
                   "status 1");
}

}  // namespace ecu::cli

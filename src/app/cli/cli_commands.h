#ifndef ECU_APP_CLI_CLI_COMMANDS_H_
#define ECU_APP_CLI_CLI_COMMANDS_H_

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/cli/cli_session.h"

namespace ecu::cli {

// The commands of ecu-cli. A command registers its name, help and options
// here, and the action to run with the session once it has been chosen;
// its options are read into state the action holds.
class CliCommands {
 public:
  using Action = std::function<int(CliSession&)>;

  explicit CliCommands(CLI::App& app) : app_(app) {}

  CLI::App* Add(const std::string& name, const std::string& help,
                Action action);
  // The action of the command given on the command line; null before a
  // successful parse.
  const Action* Chosen() const;

 private:
  CLI::App& app_;
  std::vector<std::pair<CLI::App*, Action>> commands_;
};

// Upper bounds of counts and repeats given on the command line: large
// enough for any real run (ten million 100 ms passes are eleven days), small
// enough that no counter can overflow.
inline constexpr int64_t kMostPasses = 10'000'000;

// --wait of the live commands: keep going through a lost port or a silent
// ECU instead of ending with exit status 1.
void AddWaitFlag(CLI::App& command, bool* wait);

// One function per command, each in its own file.
void AddInfoCommand(CliCommands& commands);
void AddResetCommand(CliCommands& commands);
void AddPingCommand(CliCommands& commands);
void AddSaveCommand(CliCommands& commands);
void AddLoadCommand(CliCommands& commands);
void AddMonitorCommand(CliCommands& commands);
void AddLogCommand(CliCommands& commands);
void AddFlashCommand(CliCommands& commands);
void AddDiffCommand(CliCommands& commands);
void AddDetectCommand(CliCommands& commands);
void AddAdviseCommand(CliCommands& commands);

}  // namespace ecu::cli

#endif  // ECU_APP_CLI_CLI_COMMANDS_H_

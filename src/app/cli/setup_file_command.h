#ifndef ECU_APP_CLI_SETUP_FILE_COMMAND_H_
#define ECU_APP_CLI_SETUP_FILE_COMMAND_H_

#include <CLI/CLI.hpp>
#include <string>

#include "app/cli/cli_session.h"
#include "app/cli/progress_bar.h"
#include "app/cli/stop_signals.h"
#include "core/console/file_commands.h"

namespace ecu::cli {

// What "save" and "load" share: the File menu's commands without their
// dialogs, a progress bar in place of the wait window, Ctrl-C as a stop
// between two steps (a save then leaves no temporary file and the old file
// as it was), and one exit status for the whole run.
class SetupFileCommand {
 public:
  explicit SetupFileCommand(CliSession& session);
  ~SetupFileCommand();
  SetupFileCommand(const SetupFileCommand&) = delete;
  SetupFileCommand& operator=(const SetupFileCommand&) = delete;

  // The one FILE argument of "save" and "load".
  static void AddFileArgument(CLI::App& command, std::string* file,
                              const std::string& help);

  FileCommands& commands() { return commands_; }
  // The progress bar, for other long runs that show it the same way.
  ProgressBar& bar() { return bar_; }

  // 0 for a clean run; 1 when the file could not be read or written, a line
  // was refused, a transaction went unanswered or the run was interrupted,
  // each told on stderr.
  int Finish(const SetupFileReport& report);

 private:
  CliSession& session_;
  StopSignals stop_;
  ProgressBar bar_;
  FileCommands commands_;
};

}  // namespace ecu::cli

#endif  // ECU_APP_CLI_SETUP_FILE_COMMAND_H_

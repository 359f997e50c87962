#include <cstdio>
#include <memory>

#include "app/cli/cli_commands.h"
#include "app/cli/setup_file_command.h"

namespace ecu::cli {
namespace {

int RunSave(CliSession& session, const std::string& file) {
  if (!session.Connect()) return kExitNoAnswer;
  SetupFileCommand command(session);
  const SetupFileReport report = command.commands().SaveFile(file);
  if (report.file_ok) {
    std::printf("%d lines saved to %s\n", report.lines, file.c_str());
  }
  return command.Finish(report);
}

}  // namespace

void AddSaveCommand(CliCommands& commands) {
  auto file = std::make_shared<std::string>();
  CLI::App* save =
      commands.Add("save", "Copy the ECU's calibration into a setup file",
                   [file](CliSession& s) { return RunSave(s, *file); });
  SetupFileCommand::AddFileArgument(*save, file.get(),
                                    "the setup file to write (.SET)");
}

}  // namespace ecu::cli

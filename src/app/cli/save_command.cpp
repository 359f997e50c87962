#include "app/cli/save_command.h"

#include <cstdio>

#include "app/cli/setup_file_command.h"

namespace ecu::cli {

int RunSave(CliSession& session, const std::vector<std::string>& args) {
  const std::string* file = SetupFileCommand::FileArgument(args, "save");
  if (file == nullptr) return kExitUsage;
  if (!session.Connect()) return kExitNoAnswer;
  SetupFileCommand command(session);
  const SetupFileReport report = command.commands().SaveFile(*file);
  if (report.file_ok) {
    std::printf("%d lines saved to %s\n", report.lines, file->c_str());
  }
  return command.Finish(report);
}

}  // namespace ecu::cli

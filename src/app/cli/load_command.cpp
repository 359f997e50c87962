#include "app/cli/load_command.h"

#include <cstdio>

#include "app/cli/setup_file_command.h"

namespace ecu::cli {

int RunLoad(CliSession& session, const std::vector<std::string>& args) {
  const std::string* file = SetupFileCommand::FileArgument(args, "load");
  if (file == nullptr) return kExitUsage;
  if (!session.Connect()) return kExitNoAnswer;
  SetupFileCommand command(session);
  command.commands().ReadConfiguration();
  const SetupFileReport report = command.commands().LoadFile(*file);
  if (report.file_ok) {
    const int sent = report.lines - report.refused_lines - report.skipped_lines;
    std::printf("%d lines of %s sent to the ECU\n", sent, file->c_str());
  }
  return command.Finish(report);
}

}  // namespace ecu::cli

#include <cstdio>
#include <memory>

#include "app/cli/cli_commands.h"
#include "app/cli/setup_file_command.h"

namespace ecu::cli {
namespace {

// Writes a setup file into the ECU line by line, as the File menu's upload
// does, after reading the configuration block.
int RunLoad(CliSession& session, const std::string& file) {
  if (!session.Connect()) return kExitNoAnswer;
  SetupFileCommand command(session);
  command.commands().ReadConfiguration();
  const SetupFileReport report = command.commands().LoadFile(file);
  if (report.file_ok) {
    std::printf("%d line%s of %s sent to the ECU\n", report.sent_lines,
                report.sent_lines == 1 ? "" : "s", file.c_str());
  }
  for (const SetupFileReport::Refusal& refused : report.refusals) {
    std::fprintf(stderr, "ecu-cli: %s line %d: %s\n", file.c_str(),
                 refused.line, refused.reason.c_str());
  }
  return command.Finish(report);
}

}  // namespace

void AddLoadCommand(CliCommands& commands) {
  auto file = std::make_shared<std::string>();
  CLI::App* load =
      commands.Add("load", "Write a setup file into the ECU",
                   [file](CliSession& s) { return RunLoad(s, *file); });
  SetupFileCommand::AddFileArgument(*load, file.get(),
                                    "the setup file to send (.SET)");
}

}  // namespace ecu::cli

#include "app/cli/setup_file_command.h"

#include <cstdio>

namespace ecu::cli {

SetupFileCommand::SetupFileCommand(CliSession& session)
    : session_(session), commands_(session.ctx, bar_) {
  session_.prompts.set_before_message([this] { bar_.MakeRoomForMessage(); });
  bar_.set_stop_check([this] { return stop_.Requested(); });
}

SetupFileCommand::~SetupFileCommand() {
  session_.prompts.set_before_message({});
}

void SetupFileCommand::AddFileArgument(CLI::App& command, std::string* file,
                                       const std::string& help) {
  command.add_option("FILE", *file, help)->required()->type_name("");
}

int SetupFileCommand::Finish(const SetupFileReport& report) {
  int status = session_.Finish();
  if (report.refused_lines > 0) {
    std::fprintf(stderr, "ecu-cli: %d line%s of the setup file refused\n",
                 report.refused_lines, report.refused_lines == 1 ? "" : "s");
    status = kExitNoAnswer;
  }
  // The reader or writer has said why the file failed, or where it stopped.
  if (!report.file_ok || report.interrupted) status = kExitNoAnswer;
  return status;
}

}  // namespace ecu::cli

#include "app/cli/setup_file_command.h"

#include <cstdio>

namespace ecu::cli {

SetupFileCommand::SetupFileCommand(CliSession& session)
    : session_(session), commands_(session.ctx, bar_) {
  session_.prompts.set_before_message([this] { bar_.MakeRoomForMessage(); });
}

SetupFileCommand::~SetupFileCommand() {
  session_.prompts.set_before_message({});
}

const std::string* SetupFileCommand::FileArgument(
    const std::vector<std::string>& args, const char* command) {
  if (args.empty()) {
    std::fprintf(stderr, "ecu-cli: %s needs a FILE (see --help)\n", command);
    return nullptr;
  }
  if (args.size() > 1) {
    std::fprintf(stderr,
                 "ecu-cli: %s takes one FILE; '%s' is one argument too many\n",
                 command, args[1].c_str());
    return nullptr;
  }
  return &args[0];
}

int SetupFileCommand::Finish(const SetupFileReport& report) {
  int status = session_.Finish();
  if (report.refused_lines > 0) {
    std::fprintf(stderr, "ecu-cli: %d line%s of the setup file refused\n",
                 report.refused_lines, report.refused_lines == 1 ? "" : "s");
    status = kExitNoAnswer;
  }
  // The reader or writer has said why the file failed.
  if (!report.file_ok) status = kExitNoAnswer;
  return status;
}

}  // namespace ecu::cli

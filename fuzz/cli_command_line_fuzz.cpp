// ecu-cli's command line, any arguments: read by CLI11 and the checked
// number parser into the commands' options, it is run, refused with a
// reason, or answered with help; nothing else escapes.

#include <string>

#include "app/cli/cli_command_line.h"
#include "app/cli/cli_commands.h"
#include "app/command_line/checked_options.h"
#include "fuzz/command_line.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ecu;
  using namespace ecu::fuzz;
  using command_line::ParseOutcome;
  CLI::App app;
  cli::CliCommands commands(app);
  cli::PortArgument port;
  cli::SetUpCliCommandLine(app, commands, &port);
  const ParseOutcome outcome =
      command_line::Parse(app, ArgumentsOf(data, size));
  switch (outcome.kind) {
    case ParseOutcome::Kind::kRun:
      Require(!port.given || !port.device.empty(), "an empty port was taken");
      break;
    case ParseOutcome::Kind::kHelp:
    case ParseOutcome::Kind::kUsageError:
      Require(!outcome.text.empty(), "help or a refusal without text");
      break;
  }
  return 0;
}

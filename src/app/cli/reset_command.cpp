#include "app/cli/cli_commands.h"
#include "core/link/controller_commands.h"

namespace ecu::cli {

void AddResetCommand(CliCommands& commands) {
  commands.Add("reset", "Reset the controller", [](CliSession& s) {
    if (!s.Connect()) return kExitNoAnswer;
    ResetController(s.ctx.link);
    return s.Finish();
  });
}

}  // namespace ecu::cli

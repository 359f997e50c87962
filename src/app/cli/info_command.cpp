#include <cstdio>

#include "app/cli/cli_commands.h"

namespace ecu::cli {
namespace {

int RunInfo(CliSession& s) {
  if (!s.Connect()) return kExitNoAnswer;
  // The About box's sequence, but a silent ECU ends the run at once.
  EcuLink& link = s.ctx.link;
  link.Pause(0.5);
  link.SendCommand("R", 5);
  if (link.unanswered() > 0) return s.Finish();
  link.Pause(0.2);
  link.SendCommand("-", 6);
  std::printf("Controller Firmware %s\n",
              s.ctx.controller.firmware_revision.c_str());
  std::printf("Controller Serial# %s\n",
              s.ctx.controller.serial_number.c_str());
  return s.Finish();
}

}  // namespace

void AddInfoCommand(CliCommands& commands) {
  commands.Add("info", "Print the controller's firmware revision and serial",
               RunInfo);
}

}  // namespace ecu::cli

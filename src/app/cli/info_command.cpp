#include <cstdio>
#include <tuple>

#include "app/cli/cli_commands.h"
#include "core/link/controller_commands.h"

namespace ecu::cli {
namespace {

int RunInfo(CliSession& s) {
  if (!s.Connect()) return kExitNoAnswer;
  // The About box's sequence, but a silent ECU ends the run at once.
  EcuLink& link = s.ctx.link;
  link.Pause(0.5);
  if (!ReadRevision(link).answered()) return s.Finish();
  link.Pause(0.2);
  std::ignore = ReadSerialNumber(link);  // Finish counts it
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

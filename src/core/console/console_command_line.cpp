#include "core/console/console_command_line.h"

namespace ecu {

ConsoleRequest ReadConsoleRequest(const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) return ConsoleRequest::kRun;
  if (arguments[0] == "--help" || arguments[0] == "-h") {
    return ConsoleRequest::kHelp;
  }
  if (arguments[0] == "--version") return ConsoleRequest::kVersion;
  return ConsoleRequest::kRun;
}

std::string ConsoleUsage() {
  return "Usage: ecu-console [demo]\n"
         "The tuner's console for an aftermarket engine control unit on its\n"
         "19200-baud serial line: live read-outs, dashboard, strip chart and\n"
         "data log, calibration editors, setup files and the flash utility.\n"
         "\n"
         "  demo        run in demo mode: no serial traffic, simulated "
         "read-outs\n"
         "  --help      this text\n"
         "  --version   the console's version\n"
         "\n"
         "The serial port is the one chosen in the Comm menu (port.cfg).\n";
}

}  // namespace ecu

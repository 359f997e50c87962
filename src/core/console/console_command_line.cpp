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

std::string NamedFile(const std::vector<std::string>& arguments) {
  if (arguments.size() != 1 || arguments[0].empty() || arguments[0] == "demo" ||
      arguments[0][0] == '-') {
    return "";
  }
  return arguments[0];
}

std::string ConsoleUsage() {
  return "Usage: ecu-console [demo | FILE]\n"
         "The tuner's console for an aftermarket engine control unit on its\n"
         "19200-baud serial line: live read-outs, dashboard, strip chart and\n"
         "data log, calibration editors, setup files and the flash utility.\n"
         "\n"
         "  demo        run in demo mode: no serial traffic, simulated "
         "read-outs\n"
         "  FILE        a setup file (.SET): load it into the ECU or compare "
         "it\n"
         "              with the ECU, as you choose; a data log (.CSV): open "
         "it in\n"
         "              the log viewer\n"
         "  --help      this text\n"
         "  --version   the console's version\n"
         "\n"
         "The serial port is the one chosen in the Comm menu (port.cfg).\n";
}

}  // namespace ecu

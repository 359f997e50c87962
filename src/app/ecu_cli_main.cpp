// ecu-cli: the console's core without windows, for scripts and tests.

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/cli/cli_session.h"
#include "app/cli/flash_command.h"
#include "app/cli/load_command.h"
#include "app/cli/log_command.h"
#include "app/cli/monitor_command.h"
#include "app/cli/save_command.h"
#include "core/link/controller_commands.h"
#include "core/link/port_config.h"

namespace ecu::cli {
namespace {

struct CliCommand {
  const char* name;
  const char* usage;
  const char* help;
  bool takes_arguments;
  std::function<int(CliSession&, const std::vector<std::string>&)> run;
};

int RunInfo(CliSession& s, const std::vector<std::string>&) {
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

int RunReset(CliSession& s, const std::vector<std::string>&) {
  if (!s.Connect()) return kExitNoAnswer;
  ResetController(s.ctx.link);
  return s.Finish();
}

// Round trips of the revision request, for checking a cable or adapter.
int RunPing(CliSession& s, const std::vector<std::string>& args) {
  long count = 10;
  if (args.size() == 2 && args[0] == "--count") {
    count = std::strtol(args[1].c_str(), nullptr, 10);
  }
  if (count < 1 || (!args.empty() && args.size() != 2)) {
    std::fprintf(stderr, "ecu-cli: ping [--count N] with N at least 1\n");
    return kExitUsage;
  }
  if (!s.Connect()) return kExitNoAnswer;
  const auto start = std::chrono::steady_clock::now();
  for (long i = 0; i < count; ++i) s.ctx.link.SendCommand("R", 5);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
          .count();
  // Request 8 bytes and reply 7 bytes, 10 bits each at 19200 baud.
  const double line_ms = 15 * 10.0 / 19200 * 1000;
  std::printf(
      "%ld transactions, mean %.2f ms (line time %.2f ms), %d "
      "unanswered\n",
      count, seconds * 1000 / static_cast<double>(count), line_ms,
      s.ctx.link.unanswered());
  return s.Finish();
}

const std::vector<CliCommand>& Commands() {
  static const std::vector<CliCommand> commands = {
      {"info", "info", "print the controller's firmware revision and serial",
       false, RunInfo},
      {"reset", "reset", "reset the controller", false, RunReset},
      {"flash", "flash FILE.S [--line-delay S] [--char-delay S] [--prepare]",
       "write new firmware through the controller's loader (--prepare "
       "stops the controller first)",
       true, RunFlash},
      {"monitor", "monitor [--count N] [--csv]",
       "print the monitor's read-outs after every 100 ms polling pass", true,
       RunMonitor},
      {"log", "log FILE [--interval MS] [--count N]",
       "log live data as the plotter does, one line every MS (default 1000)",
       true, RunLog},
      {"ping", "ping [--count N]",
       "time N revision requests (default 10) against the line time", true,
       RunPing},
      {"save", "save FILE", "copy the ECU's calibration into a setup file",
       true, RunSave},
      {"load", "load FILE", "write a setup file into the ECU", true, RunLoad},
  };
  return commands;
}

void PrintHelp(std::FILE* out) {
  std::fprintf(out,
               "Usage: ecu-cli [--port DEVICE] COMMAND [ARGS]\n\n"
               "Talks to the ECU over its 19200-baud serial line. The port is\n"
               "DEVICE (a COM number or a device path such as /dev/ttyUSB0),\n"
               "else the one stored in port.cfg by the console's Comm menu.\n\n"
               "Commands:\n");
  for (const CliCommand& c : Commands()) {
    std::fprintf(out, "  %-28s %s\n", c.usage, c.help);
  }
  std::fprintf(out,
               "\nExit status: 0 success, 1 the ECU did not answer (or the "
               "port could not be opened, or a setup file could not be read "
               "or written or had lines refused, or a data log could not be "
               "written), 2 usage error.\n");
}

int Main(int argc, char** argv) {
  std::string device;
  bool device_given = false;
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      PrintHelp(stdout);
      return kExitOk;
    }
    if (arg == "--port") {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "ecu-cli: --port needs a device\n");
        return kExitUsage;
      }
      device = argv[++i];
      device_given = true;
    } else if (arg.rfind("--port=", 0) == 0) {
      device = arg.substr(7);
      device_given = true;
    } else {
      words.push_back(arg);
    }
  }
  if (words.empty()) {
    PrintHelp(stderr);
    return kExitUsage;
  }
  const CliCommand* command = nullptr;
  for (const CliCommand& c : Commands()) {
    if (words[0] == c.name) command = &c;
  }
  if (command == nullptr) {
    std::fprintf(stderr, "ecu-cli: unknown command '%s' (see --help)\n",
                 words[0].c_str());
    return kExitUsage;
  }
  if (device_given) {
    // A plain number means a COM port, as in port.cfg.
    if (!device.empty() &&
        device.find_first_not_of("0123456789") == std::string::npos) {
      device = DeviceForComPort(std::stoi(device));
    }
  } else {
    device = ReadPortChoice(
                 PortConfigFolder(
                     QCoreApplication::applicationDirPath().toStdString()))
                 .device;
  }
  if (words.size() > 1 && !command->takes_arguments) {
    std::fprintf(stderr, "ecu-cli: %s takes no arguments (see --help)\n",
                 command->name);
    return kExitUsage;
  }
  CliSession session(device);
  return command->run(session,
                      std::vector<std::string>(words.begin() + 1, words.end()));
}

}  // namespace
}  // namespace ecu::cli

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  return ecu::cli::Main(argc, argv);
}

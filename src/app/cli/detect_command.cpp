#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/cli/cli_commands.h"
#include "core/link/ecu_detection.h"
#include "qt/present_ports.h"

namespace ecu::cli {
namespace {

constexpr double kAnswerSeconds = 0.5;

int RunDetect(CliSession& session, const std::vector<std::string>& named) {
  std::vector<std::string> devices = named;
  std::vector<PresentPort> present;
  if (devices.empty()) {
    present = PresentPorts();
    devices = DetectionCandidates(present, "");
  }
  if (devices.empty()) {
    std::fprintf(stderr,
                 "ecu-cli: the system lists no serial port; plug in the "
                 "adapter, or name the device (a pty is never listed)\n");
    return kExitNoAnswer;
  }
  DetectionOptions options;
  options.timeout_seconds = kAnswerSeconds;
  options.stop_at_first = false;
  const Detection detection =
      DetectEcu(session.port, session.clock, devices, options);
  for (const PortProbe& probe : detection.probes) {
    std::string caption = probe.device;
    for (const PresentPort& port : present) {
      if (port.device == probe.device) caption = PortCaption(port);
    }
    std::printf("%s: %s\n", caption.c_str(),
                ProbeText(probe, kAnswerSeconds).c_str());
  }
  return detection.found() != nullptr ? kExitOk : kExitNoAnswer;
}

}  // namespace

void AddDetectCommand(CliCommands& commands) {
  auto devices = std::make_shared<std::vector<std::string>>();
  CLI::App* detect =
      commands.Add("detect", "Find the port the ECU answers on",
                   [devices](CliSession& s) { return RunDetect(s, *devices); });
  detect
      ->add_option("DEVICES", *devices,
                   "the devices to try; every port the system lists when "
                   "none is named (name a pty, such as ecu-sim's, yourself)")
      ->type_name("");
  detect->footer(
      "Opens each port in turn at 19200 baud, 8N1, asks for the firmware "
      "revision and waits at most 0.5 s; prints each port and what answered "
      "(revision and serial number, or why not). Nothing is written to the "
      "ECU and port.cfg is left alone. Exit status: 0 an ECU answered, 1 "
      "none did.");
}

}  // namespace ecu::cli

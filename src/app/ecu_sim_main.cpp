// ecu-sim: a virtual ECU on a pseudo-terminal, for trying the console
// without a car and for the integration tests.

#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line/checked_options.h"
#include "app/sim/sim_command_line.h"
#include "sim/memory_dumper.h"
#include "sim/pty_server.h"
#include "sim/serial_line.h"
#include "sim/virtual_ecu.h"

namespace {

constexpr char kPurpose[] =
    "A virtual ECU on a pseudo-terminal. Prints the device path to open.";
constexpr char kFooter[] =
    "Faults count replies: with K, the K-th, 2K-th, ... reply is hit; 0 "
    "means never.\n"
    "Exit status: 0 after SIGINT or SIGTERM; 1 when a file or the "
    "pseudo-terminal could not be made; 2 the command line was not "
    "understood.";

}  // namespace

int main(int argc, char** argv) {
  namespace command_line = ecu::command_line;
  ecu::sim::SimCommandLine parsed;
  CLI::App app(kPurpose, "ecu-sim");
  command_line::SetUpHelp(app, kFooter);
  ecu::sim::AddSimOptions(app, &parsed);
  const command_line::ParseOutcome outcome =
      command_line::Parse(app, std::vector<std::string>(argv + 1, argv + argc));
  if (outcome.kind != command_line::ParseOutcome::Kind::kRun) {
    return command_line::Report(outcome, "ecu-sim");
  }
  std::string error;

  ecu::sim::VirtualEcu ecu(parsed.options);
  std::ofstream log;
  if (!parsed.log_path.empty()) {
    log.open(parsed.log_path, std::ios::app);
    if (!log) {
      std::cerr << "ecu-sim: cannot write " << parsed.log_path << "\n";
      return 1;
    }
    // Flushed line by line so a test can read it while the sim runs.
    ecu.set_log([&log](const std::string& line) { log << line << std::endl; });
  }

  std::optional<ecu::sim::MemoryDumper> dumper;
  if (!parsed.dump_path.empty()) {
    dumper.emplace(ecu.memory(), parsed.dump_path);
    if (!dumper->Open(&error)) {
      std::cerr << "ecu-sim: " << error << "\n";
      return 1;
    }
  }

  std::ofstream loader_log;
  if (!parsed.loader_log_path.empty()) {
    loader_log.open(parsed.loader_log_path, std::ios::binary | std::ios::trunc);
    if (!loader_log) {
      std::cerr << "ecu-sim: cannot write " << parsed.loader_log_path << "\n";
      return 1;
    }
    // Raw bytes, flushed as they come, so a test can compare them exactly.
    ecu.loader().set_log([&loader_log](std::string_view bytes) {
      loader_log.write(bytes.data(),
                       static_cast<std::streamsize>(bytes.size()));
      loader_log.flush();
    });
  }

  ecu::sim::PtyServer::StopOnSignals();
  ecu::sim::PtyServer server;
  if (dumper) {
    dumper->ServeOn(server, [](const std::string& failure) {
      std::cerr << "ecu-sim: " << failure << std::endl;
    });
  }
  if (!server.Open(&error)) {
    std::cerr << "ecu-sim: " << error << "\n";
    return 1;
  }
  if (!parsed.link_path.empty() && !server.Link(parsed.link_path, &error)) {
    std::cerr << "ecu-sim: " << error << "\n";
    return 1;
  }
  std::cout << server.device_path() << std::endl;

  const double seconds_per_byte = parsed.pacing ? ecu::kSecondsPerByte : 0.0;
  if (!server.Run(ecu, seconds_per_byte)) {
    std::cerr << "ecu-sim: polling the terminal failed\n";
    return 1;
  }
  if (dumper && !dumper->Dump(&error)) {
    std::cerr << "ecu-sim: " << error << "\n";
    return 1;
  }
  return 0;
}

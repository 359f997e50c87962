// ecu-sim: a virtual ECU on a pseudo-terminal, for trying the console
// without a car and for the integration tests.

#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "sim/memory_dumper.h"
#include "sim/pty_server.h"
#include "sim/serial_line.h"
#include "sim/sim_command_line.h"
#include "sim/virtual_ecu.h"

namespace {

constexpr int kBadUsage = 2;

}  // namespace

int main(int argc, char** argv) {
  using ecu::sim::SimCommandLine;
  std::string error;
  const std::optional<SimCommandLine> command_line =
      ecu::sim::ParseSimCommandLine(
          std::vector<std::string>(argv + 1, argv + argc), &error);
  if (!command_line) {
    std::cerr << "ecu-sim: " << error << "\n"
              << "Try 'ecu-sim --help'.\n";
    return kBadUsage;
  }
  if (command_line->help) {
    std::cout << ecu::sim::SimUsage();
    return 0;
  }

  ecu::sim::VirtualEcu ecu(command_line->options);
  std::ofstream log;
  if (!command_line->log_path.empty()) {
    log.open(command_line->log_path, std::ios::app);
    if (!log) {
      std::cerr << "ecu-sim: cannot write " << command_line->log_path << "\n";
      return 1;
    }
    // Flushed line by line so a test can read it while the sim runs.
    ecu.set_log([&log](const std::string& line) { log << line << std::endl; });
  }

  std::optional<ecu::sim::MemoryDumper> dumper;
  if (!command_line->dump_path.empty()) {
    dumper.emplace(ecu.memory(), command_line->dump_path);
    if (!dumper->Open(&error)) {
      std::cerr << "ecu-sim: " << error << "\n";
      return 1;
    }
  }

  std::ofstream loader_log;
  if (!command_line->loader_log_path.empty()) {
    loader_log.open(command_line->loader_log_path,
                    std::ios::binary | std::ios::trunc);
    if (!loader_log) {
      std::cerr << "ecu-sim: cannot write " << command_line->loader_log_path
                << "\n";
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
  if (!command_line->link_path.empty() &&
      !server.Link(command_line->link_path, &error)) {
    std::cerr << "ecu-sim: " << error << "\n";
    return 1;
  }
  std::cout << server.device_path() << std::endl;

  const double seconds_per_byte =
      command_line->pacing ? ecu::sim::kSecondsPerByte : 0.0;
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

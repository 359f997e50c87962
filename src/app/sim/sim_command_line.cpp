#include "app/sim/sim_command_line.h"

#include "app/command_line/checked_options.h"

namespace ecu::sim {
namespace {

using command_line::AddDecimalNumber;
using command_line::AddSeconds;
using command_line::AddWholeNumber;

constexpr int64_t kMostEvery = 1'000'000;
// Longer waits than this only make the sim look dead.
constexpr double kLongestDelay = 60.0;
constexpr double kLongestFaultPhase = 3600.0;

void AddPath(CLI::App& app, const std::string& name, std::string* path,
             const std::string& help) {
  app.add_option(name, *path, help)
      ->type_name("PATH")
      ->check([](const std::string& text) {
        return text.empty() ? std::string("an empty path names no file")
                            : std::string();
      });
}

void AddFaults(CLI::App& app, SimOptions& o) {
  const auto every = [&app](const std::string& name, int* field,
                            const std::string& help) {
    AddWholeNumber(app, name, field, 0, kMostEvery, help)
        ->type_name("K")
        ->group("Faults");
  };
  app.add_flag("--silent", o.silent, "never answer")->group("Faults");
  every("--drop-every", &o.drop_every, "do not send every K-th reply");
  every("--corrupt-every", &o.corrupt_every,
        "send every K-th reply with a wrong checksum");
  every("--split-every", &o.split_every,
        "send every K-th reply in two halves ...");
  AddSeconds(app, "--split-gap", &o.split_gap_s, kLongestDelay,
             "... with S seconds between them, 0.2 unless given")
      ->group("Faults");
  every("--extra-byte-every", &o.extra_byte_every,
        "add one byte after the checksum of every K-th reply");
  every("--wrong-length-every", &o.wrong_length_every,
        "send every K-th reply well formed but one data byte short");
  AddSeconds(app, "--delay", &o.delay_s, kLongestDelay,
             "wait S seconds before every reply")
      ->group("Faults");
  AddSeconds(app, "--fault-cycle", &o.fault_cycle_s, kLongestFaultPhase,
             "turn the faults on one after another, S seconds each: none, "
             "silent, drop, corrupt, split, extra byte, wrong length (every "
             "4th reply) and a 0.1 s delay, over and over")
      ->group("Faults");
}

void AddEngine(CLI::App& app, SimOptions& o) {
  app.add_option_function<std::string>(
         "--drive",
         [&o](const std::string& drive) {
           o.drive =
               drive == "sweep" ? DriveCycle::kSweep : DriveCycle::kPresent;
         },
         "what the engine does: present (idle, a blip up to cruise and back "
         "every 40 s) or sweep (holds every cell of the fuel map in turn, "
         "about 6.5 minutes a round); present unless given")
      ->type_name("CYCLE")
      ->check(CLI::IsMember({"present", "sweep"}));
  AddDecimalNumber(app, "--time-scale", &o.time_scale, 0.1, 100,
                   "run the engine X times as fast as the clock, 1 unless "
                   "given");
  AddDecimalNumber(app, "--true-map-error", &o.true_map_error_percent, 0, 50,
                   "start with a fuel map up to PCT % off the engine's true "
                   "requirement in each cell, 0 unless given")
      ->type_name("PCT");
}

}  // namespace

void AddSimOptions(CLI::App& app, SimCommandLine* line) {
  SimOptions& o = line->options;
  AddPath(app, "--link", &line->link_path,
          "also make PATH a symbolic link to the device");
  AddPath(app, "--log", &line->log_path,
          "log every request and reply with a time stamp");
  app.add_flag_callback(
      "--no-pacing", [line] { line->pacing = false; },
      "send at once instead of at 19200 baud");
  AddWholeNumber(
      app, "--seed", 0, 0xFFFFFFFFLL,
      [&o](int64_t n) {
        o.seed = static_cast<uint32_t>(n);
        o.random_calibration = true;
      },
      "engine model noise, and a random calibration drawn from N instead "
      "of the default one; noise 1 unless given");
  AddPath(app, "--dump", &line->dump_path,
          "write the calibration as a setup file on SIGUSR1 and at exit");
  AddWholeNumber(app, "--revision", &o.revision, 0, 0xFFFF,
                 "firmware revision, 10103 (shown as V1.01.03) unless given");
  AddWholeNumber(app, "--serial", &o.serial_number, 0, 0xFFFFFF,
                 "serial number, 123456 unless given");
  app.add_flag("--loader", o.loader_mode,
               "start stopped, waiting for new firmware");
  AddPath(app, "--loader-log", &line->loader_log_path,
          "write every byte the firmware loader receives");
  AddEngine(app, o);
  AddFaults(app, o);
}

std::optional<SimCommandLine> ParseSimCommandLine(
    const std::vector<std::string>& args, std::string* error) {
  SimCommandLine line;
  CLI::App app;
  AddSimOptions(app, &line);
  const command_line::ParseOutcome outcome = command_line::Parse(app, args);
  if (outcome.kind != command_line::ParseOutcome::Kind::kRun) {
    *error = outcome.text;
    return std::nullopt;
  }
  return line;
}

}  // namespace ecu::sim

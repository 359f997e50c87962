#include <cstdio>
#include <memory>

#include "app/cli/cli_commands.h"
#include "app/cli/live_polling.h"
#include "app/command_line/checked_options.h"

namespace ecu::cli {
namespace {

struct Readout {
  const char* label;
  const char* unit;
};

// The monitor's read-outs by entry number. Entry 13 is never computed and
// has no label, so it is not printed.
constexpr Readout kReadouts[kMonitorEntries] = {
    {"Engine Speed", "RPM"},
    {"A/F Ratio", "Lamda"},
    {"Coolant Temp.", "\u00B0C"},
    {"Throttle Position", "%"},
    {"Manifold Pressure", "kPa"},
    {"Injection PW", "ms"},
    {"EGO Correction", "Gamma"},
    {"MAP Enrichment", "Gamma"},
    {"Accel Enrichment", "ms"},
    {"CLT Enrichment", "Gamma"},
    {"Battery Voltage", "Volts DC"},
    {"AirTemp.", "\u00B0C"},
    {"AUX Input", "Volts DC"},
    {nullptr, nullptr},
    {"Barometic Pressure", "kPa"},
    {"IAC State", ""},
    {"IAC Error", ""},
    {"IAC Position", ""},
    {"IAC RPM SETPOINT", "RPM"},
};

void PrintCsvHeader() {
  std::printf("Time");
  for (const Readout& r : kReadouts) {
    if (r.label != nullptr) std::printf(",%s", r.label);
  }
  std::printf("\n");
}

void PrintCsvLine(const std::string& time, const MonitorLines& lines) {
  std::printf("%s", time.c_str());
  for (int i = 0; i < kMonitorEntries; ++i) {
    if (kReadouts[i].label != nullptr) std::printf(",%s", lines[i].c_str());
  }
  std::printf("\n");
}

void PrintBlock(const std::string& time, const MonitorLines& lines) {
  std::printf("%s\n", time.c_str());
  for (int i = 0; i < kMonitorEntries; ++i) {
    const Readout& r = kReadouts[i];
    if (r.label == nullptr) continue;
    if (*r.unit == '\0') {
      std::printf("  %-20s %9s\n", r.label, lines[i].c_str());
    } else {
      std::printf("  %-20s %9s  %s\n", r.label, lines[i].c_str(), r.unit);
    }
  }
  std::printf("\n");
}

struct MonitorOptions {
  int64_t count = 0;  // until Ctrl+C
  bool csv = false;
  bool wait = false;
};

// Polls as the Real Time Monitor does, one pass every 100 ms, and prints
// its read-outs after each pass the ECU answered in full: a row is never
// made of values left over from an earlier pass.
int RunMonitor(CliSession& s, const MonitorOptions& options) {
  if (!s.Connect()) return kExitNoAnswer;
  LivePolling polling(s, options.wait);
  polling.Open(View::kMonitor);
  if (options.csv) PrintCsvHeader();
  Timer poll(Timer::Now(), 100);
  for (int64_t rows = 0; options.count == 0 || rows < options.count;) {
    if (!polling.stop().WaitUntil(poll.next())) break;
    poll.TakeDue(Timer::Now());
    if (!polling.Pass()) {
      if (polling.gone()) break;
      continue;
    }
    // As the monitor's refresh: the clamped values, formatted.
    ClampForMonitor(s.ctx.live);
    const MonitorLines lines = ComputeMonitorText(s.ctx.live, s.ctx.units);
    const std::string time = s.ctx.clock.TimeText();
    if (options.csv) {
      PrintCsvLine(time, lines);
    } else {
      PrintBlock(time, lines);
    }
    std::fflush(stdout);
    ++rows;
  }
  const int status = s.Finish();
  return polling.gone() ? kExitNoAnswer : status;
}

}  // namespace

void AddMonitorCommand(CliCommands& commands) {
  auto options = std::make_shared<MonitorOptions>();
  CLI::App* monitor = commands.Add(
      "monitor",
      "Print the monitor's read-outs after every 100 ms polling pass",
      [options](CliSession& s) { return RunMonitor(s, *options); });
  command_line::AddWholeNumber(*monitor, "--count", &options->count, 1,
                               kMostPasses,
                               "passes to print, until Ctrl+C unless given");
  monitor->add_flag("--csv", options->csv,
                    "one comma-separated line per pass, under a header");
  AddWaitFlag(*monitor, &options->wait);
}

}  // namespace ecu::cli

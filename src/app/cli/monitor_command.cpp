#include "app/cli/monitor_command.h"

#include <cstdio>

#include "app/cli/live_polling.h"

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

}  // namespace

int RunMonitor(CliSession& s, const std::vector<std::string>& args) {
  long count = 0;  // until Ctrl+C
  bool csv = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--csv") {
      csv = true;
    } else if (args[i] == "--count" && i + 1 < args.size() &&
               ParseCount(args[i + 1], 1, &count)) {
      ++i;
    } else {
      std::fprintf(stderr,
                   "ecu-cli: monitor [--count N] [--csv] with N at least 1\n");
      return kExitUsage;
    }
  }
  if (!s.Connect()) return kExitNoAnswer;
  LivePolling polling(s.ctx);
  Ticker ticker;
  polling.Open(View::kMonitor);
  if (csv) PrintCsvHeader();
  Timer poll(Ticker::Now(), 100);
  for (long pass = 0; count == 0 || pass < count; ++pass) {
    if (!ticker.WaitUntil(poll.next())) break;
    poll.TakeDue(Ticker::Now());
    polling.Pass();
    // As the monitor's refresh: the clamped values, formatted.
    ClampForMonitor(s.ctx.live);
    const MonitorLines lines = ComputeMonitorText(s.ctx.live);
    const std::string time = s.ctx.clock.TimeText();
    if (csv) {
      PrintCsvLine(time, lines);
    } else {
      PrintBlock(time, lines);
    }
    std::fflush(stdout);
  }
  return s.Finish();
}

}  // namespace ecu::cli

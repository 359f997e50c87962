#include <cstdio>
#include <memory>

#include "app/cli/cli_commands.h"
#include "app/cli/live_polling.h"
#include "app/command_line/checked_options.h"

namespace ecu::cli {
namespace {

struct LogOptions {
  std::string file;
  int64_t interval_ms = 1000;  // the plotter's interval at start
  int64_t count = 0;           // until Ctrl+C
};

// Logs as the plotter window does: the configuration is read when the run
// starts, "A" is asked on every 100 ms tick, and one line is written every
// interval in the plotter's file format.
int RunLog(CliSession& s, const LogOptions& options) {
  const std::string& file_name = options.file;
  const int64_t count = options.count;
  if (!s.Connect()) return kExitNoAnswer;
  LivePolling polling(s.ctx);
  Ticker ticker;
  polling.Open(View::kPlotter);
  LogState& log = s.ctx.log;
  std::string error;
  if (!log.Start(file_name, s.ctx.clock.DateText(), &error)) {
    std::fprintf(stderr, "ecu-cli: the log file %s could not be created (%s)\n",
                 file_name.c_str(), error.c_str());
    return kExitNoAnswer;
  }
  // The console's two timers: the poll tick and the log tick, the pass
  // first when both are due.
  const Ticker::TimePoint start = Ticker::Now();
  Timer poll(start, 100);
  Timer sample(start, static_cast<int>(options.interval_ms));
  bool write_failed = false;
  while (count == 0 || log.LogSampleCount() < count) {
    if (!ticker.WaitUntil(std::min(poll.next(), sample.next()))) break;
    const Ticker::TimePoint now = Ticker::Now();
    if (poll.TakeDue(now)) polling.Pass();
    if (sample.TakeDue(now) &&
        !log.WriteSample(s.ctx.live, s.ctx.clock.TimeText(), &error)) {
      std::fprintf(stderr,
                   "ecu-cli: the log file %s could not be written (%s)\n",
                   file_name.c_str(), error.c_str());
      write_failed = true;
      break;
    }
  }
  log.Stop();
  std::printf("%d samples written to %s\n", log.LogSampleCount(),
              file_name.c_str());
  const int status = s.Finish();
  return write_failed ? kExitNoAnswer : status;
}

}  // namespace

void AddLogCommand(CliCommands& commands) {
  auto options = std::make_shared<LogOptions>();
  CLI::App* log =
      commands.Add("log", "Log live data to FILE as the plotter does",
                   [options](CliSession& s) { return RunLog(s, *options); });
  log->add_option("FILE", options->file, "the data log to write (.CSV)")
      ->required()
      ->type_name("");
  // The plotter's logging interval runs from 100 ms to 10 s.
  command_line::AddWholeNumber(*log, "--interval", &options->interval_ms, 100,
                               10'000,
                               "milliseconds between lines, 1000 "
                               "unless given");
  command_line::AddWholeNumber(*log, "--count", &options->count, 1, kMostPasses,
                               "lines to write, until Ctrl+C unless given");
}

}  // namespace ecu::cli

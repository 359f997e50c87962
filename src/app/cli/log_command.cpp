#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/cli/cli_commands.h"
#include "app/cli/live_polling.h"
#include "app/cli/status_line.h"
#include "app/command_line/checked_options.h"

namespace ecu::cli {
namespace {

struct LogOptions {
  std::string file;
  int64_t interval_ms = 1000;  // the plotter's interval at start
  int64_t count = 0;           // until Ctrl+C
  bool wait = false;
};

// The log's size for the status line; 0 when it cannot be told.
uintmax_t FileSize(const std::string& file) {
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(file, error);
  return error ? 0 : size;
}

// Logs as the plotter window does: the configuration is read when the run
// starts, "A" is asked on every 100 ms tick, and one line is written every
// interval in the plotter's file format, from the last pass when the ECU
// answered it: a silent ECU adds no lines of old values.
int RunLog(CliSession& s, const LogOptions& options) {
  const std::string& file_name = options.file;
  if (!s.Connect()) return kExitNoAnswer;
  LivePolling polling(s, options.wait);
  polling.Open(View::kPlotter);
  LogState& log = s.ctx.log;
  std::string error;
  if (!log.Start(file_name, s.ctx.clock.DateText(), &error)) {
    std::fprintf(stderr, "ecu-cli: the log file %s could not be created (%s)\n",
                 file_name.c_str(), error.c_str());
    return kExitNoAnswer;
  }
  StatusLine status;
  s.prompts.set_before_message([&status] { status.MakeRoom(); });
  // The console's two timers: the poll tick and the log tick, the pass
  // first when both are due.
  const Timer::TimePoint start = Timer::Now();
  Timer poll(start, 100);
  Timer sample(start, static_cast<int>(options.interval_ms));
  bool fresh = false;  // the last pass was answered
  bool write_failed = false;
  while (options.count == 0 || log.LogSampleCount() < options.count) {
    if (!polling.stop().WaitUntil(std::min(poll.next(), sample.next()))) {
      break;
    }
    const Timer::TimePoint now = Timer::Now();
    if (poll.TakeDue(now)) {
      fresh = polling.Pass();
      if (polling.gone()) break;
    }
    if (!sample.TakeDue(now) || !fresh) continue;
    if (!log.WriteSample(s.ctx.live, s.ctx.clock.TimeText(), &error)) {
      status.MakeRoom();
      std::fprintf(stderr,
                   "ecu-cli: the log file %s could not be written (%s)\n",
                   file_name.c_str(), error.c_str());
      write_failed = true;
      break;
    }
    status.Show(LogStatusText(
        log.LogSampleCount(),
        std::chrono::duration<double>(Timer::Now() - start).count(),
        FileSize(file_name)));
  }
  log.Stop();
  status.MakeRoom();
  s.prompts.set_before_message({});
  std::printf("%d samples written to %s\n", log.LogSampleCount(),
              file_name.c_str());
  const int finished = s.Finish();
  return write_failed || polling.gone() ? kExitNoAnswer : finished;
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
  AddWaitFlag(*log, &options->wait);
}

}  // namespace ecu::cli

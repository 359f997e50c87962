#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/cli/cli_commands.h"
#include "app/cli/live_polling.h"
#include "app/cli/status_line.h"
#include "app/command_line/checked_options.h"
#include "core/console/sample_rate.h"
#include "core/numbers/checked_number.h"

namespace ecu::cli {
namespace {

// --interval fastest: "A" back to back, a line for every answer.
constexpr int64_t kFastest = 0;

struct LogOptions {
  std::string file;
  int64_t interval_ms = 1000;  // the plotter's interval at start
  int64_t count = 0;           // until Ctrl+C
  std::string time = "s";      // "ms" adds milliseconds to the time field
  bool wait = false;
};

// The log's size for the status line; 0 when it cannot be told.
uintmax_t FileSize(const std::string& file) {
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(file, error);
  return error ? 0 : size;
}

// One run of the log command: the file, the polling and the status line.
class LogRun {
 public:
  LogRun(CliSession& s, const LogOptions& options)
      : s_(s), options_(options), polling_(s, options.wait) {}

  int Run();

 private:
  bool CountReached() const {
    return options_.count != 0 && s_.ctx.log.LogSampleCount() >= options_.count;
  }
  void OnTicks();
  void BackToBack();
  // Writes a line of the live values; false (and the run ends) when the
  // file refused it.
  bool WriteSample();
  double Elapsed() const {
    return std::chrono::duration<double>(Timer::Now() - start_).count();
  }

  CliSession& s_;
  const LogOptions& options_;
  LivePolling polling_;
  StatusLine status_;
  SampleRate rate_;
  Timer::TimePoint start_ = Timer::Now();
  Timer::TimePoint next_status_ = start_;
  bool write_failed_ = false;
};

int LogRun::Run() {
  const std::string& file_name = options_.file;
  if (!s_.Connect()) return kExitNoAnswer;
  polling_.Open(View::kPlotter);
  LogState& log = s_.ctx.log;
  s_.prompts.set_before_message([this] { status_.MakeRoom(); });
  start_ = Timer::Now();
  if (options_.interval_ms == kFastest) {
    BackToBack();
  } else {
    OnTicks();
  }
  log.Stop();
  status_.MakeRoom();
  s_.prompts.set_before_message({});
  std::printf("%d samples written to %s\n", log.LogSampleCount(),
              file_name.c_str());
  const int finished = s_.Finish();
  return write_failed_ || polling_.gone() ? kExitNoAnswer : finished;
}

// As the plotter window does: "A" on every 100 ms tick, and a line every
// interval from the last pass when the ECU answered it: a silent ECU adds
// no lines of old values. The pass first when both are due.
void LogRun::OnTicks() {
  Timer poll(start_, 100);
  Timer sample(start_, static_cast<int>(options_.interval_ms));
  bool fresh = false;  // the last pass was answered
  while (!CountReached()) {
    if (!polling_.stop().WaitUntil(std::min(poll.next(), sample.next()))) {
      return;
    }
    const Timer::TimePoint now = Timer::Now();
    if (poll.TakeDue(now)) {
      fresh = polling_.Pass();
      if (polling_.gone()) return;
    }
    if (sample.TakeDue(now) && fresh && !WriteSample()) return;
  }
}

// At the line's rate: the next request goes out as soon as a reply is
// decoded, and every answered one is a line. The waits are on the port,
// so this does not spin; a silent or lost ECU waits as a pass does.
void LogRun::BackToBack() {
  while (!CountReached() && !polling_.stop().Requested()) {
    if (!polling_.Pass()) {
      if (polling_.gone()) return;
      continue;
    }
    if (!WriteSample()) return;
  }
}

bool LogRun::WriteSample() {
  LogState& log = s_.ctx.log;
  Clock& clock = s_.ctx.clock;
  std::string error;
  // The file is replaced with the first answer, not before: a silent or
  // switched-off ECU leaves an earlier log of that name as it was.
  if (!log.LogActive() && !log.Start(options_.file, clock.DateText(), &error)) {
    status_.MakeRoom();
    std::fprintf(stderr, "ecu-cli: the log file %s could not be created (%s)\n",
                 options_.file.c_str(), error.c_str());
    write_failed_ = true;
    return false;
  }
  const std::string time = options_.time == "ms"
                               ? clock.TimeTextWithMilliseconds()
                               : clock.TimeText();
  if (!log.WriteSample(s_.ctx.live, time, &error)) {
    status_.MakeRoom();
    std::fprintf(stderr, "ecu-cli: the log file %s could not be written (%s)\n",
                 options_.file.c_str(), error.c_str());
    write_failed_ = true;
    return false;
  }
  const double elapsed = Elapsed();
  rate_.Count(elapsed);
  // A few redraws a second are plenty, whatever the rate.
  const Timer::TimePoint now = Timer::Now();
  if (now >= next_status_) {
    next_status_ = now + std::chrono::milliseconds(250);
    status_.Show(LogStatusText(log.LogSampleCount(), elapsed,
                               FileSize(options_.file), rate_.per_second()));
  }
  return true;
}

// "fastest" (or 0), else the plotter's 100 ms to 10 s.
void AddInterval(CLI::App& log, int64_t* interval_ms) {
  auto read = [interval_ms](const CLI::results_t& results) {
    const std::string& text = results.front();
    std::string problem;
    const auto ms = text == "fastest"
                        ? std::optional<int64_t>(kFastest)
                        : CheckedWholeNumber(text, kFastest, 10'000, &problem);
    if (!ms || (*ms != kFastest && *ms < 100)) {
      throw CLI::ValidationError(
          "--interval", "'" + text +
                            "' is not fastest, 0 or a whole number from 100 "
                            "to 10000");
    }
    *interval_ms = *ms;
    return true;
  };
  log.add_option("--interval", std::move(read),
                 "milliseconds between lines, 1000 unless given (100 to "
                 "10000); fastest (or 0): a line for every answer of requests "
                 "sent back to back, at the line's rate")
      ->type_name("N")
      ->expected(1);
}

}  // namespace

void AddLogCommand(CliCommands& commands) {
  auto options = std::make_shared<LogOptions>();
  CLI::App* log = commands.Add(
      "log", "Log live data to FILE as the plotter does",
      [options](CliSession& s) { return LogRun(s, *options).Run(); });
  log->add_option("FILE", options->file, "the data log to write (.CSV)")
      ->required()
      ->type_name("");
  AddInterval(*log, &options->interval_ms);
  command_line::AddWholeNumber(*log, "--count", &options->count, 1, kMostPasses,
                               "lines to write, until Ctrl+C unless given");
  log->add_option("--time", options->time,
                  "s: the time field as 14:05:09, unless given; ms: with "
                  "milliseconds, 14:05:09.250")
      ->check(CLI::Validator(
          [](std::string& unit) -> std::string {
            return unit == "s" || unit == "ms"
                       ? ""
                       : "'" + unit + "' is not s or ms";
          },
          ""))
      ->type_name("s|ms");
  AddWaitFlag(*log, &options->wait);
}

}  // namespace ecu::cli

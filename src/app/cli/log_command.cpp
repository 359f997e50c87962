#include "app/cli/log_command.h"

#include <cstdio>

#include "app/cli/live_polling.h"

namespace ecu::cli {
namespace {

constexpr const char* kUsage =
    "ecu-cli: log FILE [--interval MS] [--count N] with MS at least 100 and "
    "N at least 1\n";

}  // namespace

int RunLog(CliSession& s, const std::vector<std::string>& args) {
  std::string file_name;
  long interval_ms = 1000;  // the plotter's interval at start
  long count = 0;           // until Ctrl+C
  for (size_t i = 0; i < args.size(); ++i) {
    const bool has_value = i + 1 < args.size();
    if (args[i] == "--interval" && has_value &&
        ParseCount(args[i + 1], 100, &interval_ms)) {
      ++i;
    } else if (args[i] == "--count" && has_value &&
               ParseCount(args[i + 1], 1, &count)) {
      ++i;
    } else if (file_name.empty() && !args[i].empty() && args[i][0] != '-') {
      file_name = args[i];
    } else {
      std::fputs(kUsage, stderr);
      return kExitUsage;
    }
  }
  if (file_name.empty()) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
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
  Timer sample(start, static_cast<int>(interval_ms));
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

}  // namespace ecu::cli

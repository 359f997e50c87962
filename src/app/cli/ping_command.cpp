#include <chrono>
#include <cstdio>
#include <memory>
#include <tuple>

#include "app/cli/cli_commands.h"
#include "app/command_line/checked_options.h"
#include "core/link/controller_commands.h"
#include "core/link/frame.h"

namespace ecu::cli {
namespace {

// Round trips of the revision request, for checking a cable or adapter.
int RunPing(CliSession& s, int64_t count) {
  if (!s.Connect()) return kExitNoAnswer;
  const auto start = std::chrono::steady_clock::now();
  // The link counts the unanswered ones.
  for (int64_t i = 0; i < count; ++i) std::ignore = ReadRevision(s.ctx.link);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
          .count();
  // The request and the reply.
  const double line_ms =
      (kRequestLength + kRevisionLength + 2) * kSecondsPerByte * 1000;
  std::printf(
      "%lld transactions, mean %.2f ms (line time %.2f ms), %d "
      "unanswered\n",
      static_cast<long long>(count),
      seconds * 1000 / static_cast<double>(count), line_ms,
      s.ctx.link.unanswered());
  return s.Finish();
}

}  // namespace

void AddPingCommand(CliCommands& commands) {
  auto count = std::make_shared<int64_t>(10);
  CLI::App* ping =
      commands.Add("ping", "Time N revision requests against the line time",
                   [count](CliSession& s) { return RunPing(s, *count); });
  command_line::AddWholeNumber(*ping, "--count", count.get(), 1, 1'000'000,
                               "requests to time, 10 unless given");
}

}  // namespace ecu::cli

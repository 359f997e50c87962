#include "app/cli/live_polling.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "core/calibration/calibration_requests.h"

namespace ecu::cli {
namespace {

// How often a lost port is tried again: an adapter comes back under the
// same name when it is plugged in again.
constexpr auto kReopenEvery = std::chrono::seconds(1);

}  // namespace

void LivePolling::Open(View view) {
  views_.OpenView(view);
  if (view != View::kPlotter) ReadConfiguration();
}

void LivePolling::ReadConfiguration() {
  // A silent ECU shows in the passes that follow.
  std::ignore = ReadConfigurationBlock(session_.ctx.link);
}

bool LivePolling::Pass() {
  const PassOutcome pass = loop_.PollingPass();
  if (pass.answered()) {
    silent_passes_ = 0;
    return true;
  }
  if (pass.port_lost) {
    PortLost(pass.reason);
    return false;
  }
  if (++silent_passes_ >= kSilentPasses && !wait_) {
    std::fprintf(stderr,
                 "ecu-cli: the ECU stopped answering (%d passes in a row "
                 "without an answer); give --wait to keep trying\n",
                 silent_passes_);
    gone_ = true;
  }
  return false;
}

void LivePolling::PortLost(const std::string& reason) {
  const std::string& device = session_.ctx.link_state.port_device;
  const std::string why = reason.empty() ? "" : " (" + reason + ")";
  if (!wait_) {
    std::fprintf(stderr,
                 "ecu-cli: the port %s was lost%s; give --wait to wait for "
                 "it to return\n",
                 device.c_str(), why.c_str());
    session_.loss_reported = true;
    gone_ = true;
    return;
  }
  std::fprintf(stderr,
               "ecu-cli: the port %s was lost%s; waiting for it to return "
               "(Ctrl-C ends)\n",
               device.c_str(), why.c_str());
  while (stop_.WaitUntil(Timer::Now() + kReopenEvery)) {
    if (session_.ctx.port.Open(device)) {
      std::fprintf(stderr, "ecu-cli: the port %s is back\n", device.c_str());
      // As after start-up: the scaling may have changed meanwhile.
      session_.ctx.link.TouchReceiveTime();
      ReadConfiguration();
      silent_passes_ = 0;
      return;
    }
  }
}

Timer::Timer(TimePoint start, int period_ms)
    // A period of 0 would never leave TakeDue.
    : period_(std::max(period_ms, 1)), next_(start + period_) {}

bool Timer::TakeDue(TimePoint now) {
  if (now < next_) return false;
  // Every tick that passed is skipped in one step, however long the
  // program was held up.
  next_ += period_ * ((now - next_) / period_ + 1);
  return true;
}

}  // namespace ecu::cli

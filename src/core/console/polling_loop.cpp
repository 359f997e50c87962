#include "core/console/polling_loop.h"

#include <tuple>
#include <vector>

#include "core/calibration/calibration_requests.h"
#include "core/link/frame.h"
#include "core/link/live_decoding.h"

namespace ecu {
namespace {

// The live requests of the windows.
constexpr uint8_t kLive = kLiveFrame;
constexpr uint8_t kAux = kAuxFrame;
constexpr uint8_t kIdleAir = kIdleAirFrame;
constexpr uint8_t kActiveMap = kActiveMapFrame;

// Each window's polling pass, indexed by View. A window without live
// read-outs sends nothing; it only keeps the watchdog quiet.
const std::array<std::vector<uint8_t>, kViewCount>& PassRequests() {
  static const std::array<std::vector<uint8_t>, kViewCount> passes = {{
      {},                                                        // none
      {kLive, kAux, kLive, kLive, kIdleAir, kLive, kActiveMap},  // monitor
      {},                                                        // config
      {kLive},                                                   // fuel map
      {kLive},                                                   // plotter
      {kLive, kAux},                                             // curves
      {kLive},                                                   // dashboard
      {kLive, kAux},                                             // suppl.
  }};
  return passes;
}

}  // namespace

void PollingLoop::Run(const bool& stop) {
  if (!Start(stop)) return;
  while (!stop) Step();
}

bool PollingLoop::Start(const bool& stop) {
  ConsoleState& console = ctx_.console;
  console.loop_started = true;
  console.switch_requests = {};
  ServeMessages();
  ctx_.link.TouchReceiveTime();
  // Nothing is sent until the user first opens a window or runs a command.
  while (!ctx_.link_state.port_ready) {
    if (stop) return false;
    ctx_.pump.WaitAndProcess(0.1);
    ctx_.link.RunDeferred();
  }
  ctx_.link_state.port_ready = false;
  StartPolling();
  return true;
}

void PollingLoop::StartPolling() {
  std::ignore = ReadConfigurationBlock(ctx_.link);
  if (ctx_.link_state.demo_mode) demo_.Run(ctx_.live, ctx_.image);
  ctx_.live.RestartTachFilter();
}

void PollingLoop::Step() {
  ConsoleState& console = ctx_.console;
  const bool demo = ctx_.link_state.demo_mode;
  if (demo) demo_.Run(ctx_.live, ctx_.image);
  ServeBetweenPasses();
  if (PassDue()) {
    console.poll_tick = false;
    views_.ServeSwitchRequests();
    // A lost port is tried again on the ticks and nothing is sent meanwhile;
    // the windows learn of a silent or lost link from the link itself.
    if (ctx_.link.TryReconnect()) StartPolling();
    if (ctx_.link.lost()) {
      back_to_back_ = false;
      live_answered_ = false;
    } else {
      ctx_.link.set_serve_while_waiting(AtLineRate());
      const PassOutcome pass = PollingPass();
      ctx_.link.set_serve_while_waiting(false);
      live_answered_ = pass.answered();
      SampleAtLineRate(pass);
    }
  }
  if (ctx_.link_state.demo_mode) demo_.Run(ctx_.live, ctx_.image);
  const View mode = console.live_window_mode;
  if (console.display_tick) {
    console.display_tick = false;
    if (mode == View::kMonitor || mode == View::kPlotter) {
      monitor_.Refresh(ctx_.live, ctx_.units);
    }
    const auto& display = on_display_[static_cast<size_t>(mode)];
    if (display) display();
  }
  if (mode == View::kPlotter && console.log_tick) {
    console.log_tick = false;
    // At the line's rate the passes take the samples. A lost or silent
    // link leaves the last answer in LiveData: not a new sample.
    if (take_sample_ && !console.fastest_log && live_answered_) take_sample_();
  }
  if (SomethingDue()) {
    ServeBetweenPasses();
  } else {
    ctx_.pump.WaitAndProcess(0.1);
    ctx_.link.RunDeferred();
  }
}

PassOutcome PollingLoop::PollingPass() {
  const View mode = ctx_.console.live_window_mode;
  EcuLink& link = ctx_.link;
  PassOutcome pass;
  // The window shows a lost or silent link by the link's state and the
  // lamp; a caller without windows (ecu-cli) learns it from the outcome.
  auto send = [&link, &pass](uint8_t code) {
    if (pass.port_lost) return;
    const CommandOutcome outcome = link.SendCommand(Command(code));
    if (outcome.result == CommandResult::kPortLost) {
      pass.port_lost = true;
      pass.reason = outcome.reason;
    } else if (outcome.result == CommandResult::kNoAnswer) {
      ++pass.unanswered;
    } else if (outcome.result == CommandResult::kAnswered) {
      ++pass.replies;
    }
  };
  const std::vector<uint8_t>& requests =
      PassRequests()[static_cast<size_t>(mode)];
  if (requests.empty()) link.TouchReceiveTime();
  for (uint8_t code : requests) send(code);
  const auto& after = after_pass_[static_cast<size_t>(mode)];
  if (after) after();
  return pass;
}

bool PollingLoop::AtLineRate() const {
  const ConsoleState& console = ctx_.console;
  return console.fastest_log && console.live_window_mode == View::kPlotter;
}

bool PollingLoop::PassDue() const {
  return ctx_.console.poll_tick || (back_to_back_ && AtLineRate());
}

void PollingLoop::SampleAtLineRate(const PassOutcome& pass) {
  const bool fastest = AtLineRate();
  // Each sample from its own answer, never from an old one.
  if (fastest && pass.answered() && take_sample_) take_sample_();
  // The next pass follows at once only after one that went over the wire
  // and was answered: a silent, lost or demo link waits for the tick.
  back_to_back_ = fastest && pass.answered() && pass.replies > 0;
}

bool PollingLoop::SomethingDue() const {
  const ConsoleState& console = ctx_.console;
  return PassDue() || console.display_tick ||
         (console.live_window_mode == View::kPlotter && console.log_tick);
}

void PollingLoop::ServeMessages() {
  ctx_.pump.ProcessPending();
  ctx_.link.RunDeferred();
}

void PollingLoop::ServeBetweenPasses() {
  if (back_to_back_ && AtLineRate()) {
    ctx_.link.RunDeferred();
  } else {
    ServeMessages();
  }
}

}  // namespace ecu

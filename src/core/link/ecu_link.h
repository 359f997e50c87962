#ifndef ECU_CORE_LINK_ECU_LINK_H_
#define ECU_CORE_LINK_ECU_LINK_H_

#include <array>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

#include "core/link/command_outcome.h"
#include "core/link/link_state.h"
#include "core/link/reply_table.h"
#include "core/platform/clock.h"
#include "core/platform/event_pump.h"
#include "core/platform/prompts.h"
#include "core/platform/serial_port.h"
#include "core/signal.h"

namespace ecu {

enum class LampColour { kRed, kGreen };

// What the link shows on the monitor window: the communication lamp and the
// reply-interval figure.
struct LinkIndicators {
  Signal<LampColour> lamp;
  Signal<const std::string&> group_delay;
  // The lost-link message while the port is gone, empty once it is back.
  Signal<const std::string&> lost;
};

// The command transaction and everything around it: opening the port,
// framing, retries, reply checking and dispatch, the reply-interval figure,
// the watchdog, and the guard that keeps transactions from nesting.
class EcuLink {
 public:
  EcuLink(SerialPort& port, Clock& clock, Prompts& prompts, EventPump& pump,
          LinkState& state, ReplyTable& replies);

  // Opens the port on first use or falls back to demo mode. A lost port is
  // left to TryReconnect: a pulled cable is no reason for demo mode.
  void EnsureLink();

  // True from the moment an open port went away until it opens again. While
  // lost, SendCommand sends nothing and returns kPortLost at once; the loss
  // was told once, when it happened.
  bool lost() const { return state_.port_lost; }
  // The driver's words for the loss.
  const std::string& lost_reason() const { return lost_reason_; }
  // While lost, reopens the same device, at most about once a second; true
  // when it is back (the caller then starts afresh, as after start-up).
  bool TryReconnect();
  // The console reopens a lost port by itself and the link tells the user
  // so, once; without it (ecu-cli) the caller reports the loss from the
  // outcome.
  void set_reconnects(bool reconnects) { reconnects_ = reconnects; }

  // One transaction: the request built from `command` (code first, then up
  // to three argument bytes), up to ten attempts of 0.125 s, each candidate
  // reply handed to HandleReply. The reply length comes from the reply
  // table's entry for the code. A silent ECU is told to the user as always;
  // the outcome tells the caller too.
  CommandOutcome SendCommand(std::string_view command);

  // While set, the window messages waiting when a request goes out are
  // served while it and its reply are on the line: at the line's rate a
  // chart's repaint then costs no time between a reply and the next request.
  void set_serve_while_waiting(bool serve) { serve_while_waiting_ = serve; }

  // Waits without processing window messages.
  void Pause(double seconds);
  // Waits until exactly `count` bytes are waiting or the time-out passes.
  void WaitForBytes(double timeout_seconds, int count);

  // True while a transaction runs. User actions that need the link check
  // this (through RunWhenIdle) instead of nesting a second transaction.
  bool busy() const { return busy_; }
  // Runs the action now when the link is idle, else once the running
  // transaction has ended.
  void RunWhenIdle(std::function<void()> action);
  // Runs the actions deferred while a transaction was running.
  void RunDeferred();

  // Seconds since midnight, as everything that shows or decides on time reads
  // it.
  float Now() { return clock_.SecondsSinceMidnight(); }
  // Marks the link as just used, so the watchdog does not count idle time.
  void TouchReceiveTime() { state_.last_receive_time = Now(); }

  LinkIndicators& indicators() { return indicators_; }
  // A request the program should never make (a code without a reply length,
  // a transaction inside another) goes here; tests fail on it.
  void set_slip_handler(std::function<void(const std::string&)> handler) {
    slip_handler_ = std::move(handler);
  }
  LinkState& state() { return state_; }
  SerialPort& port() { return port_; }
  Prompts& prompts() { return prompts_; }
  EventPump& pump() { return pump_; }

  // The reply-interval figure in milliseconds as shown on the monitor.
  double GroupDelayMs() const;
  // Request frames written since start, for statistics and tests.
  long requests_sent() const { return requests_sent_; }
  // Transactions that ended without an accepted reply (outside demo mode),
  // so that scripts can tell a partial run from a clean one.
  int unanswered() const { return unanswered_; }

 private:
  // Checks and dispatches whatever has arrived; sets reply_accepted_.
  void HandleReply();
  void NoteReplyInterval();
  void RunWatchdog();
  void SetLamp(LampColour colour);
  // Runs the attempts of one transaction on an open port.
  CommandResult Attempt(std::string_view command, int expected);
  // The port went away mid-transaction: the loss is told once.
  void MarkLost();
  void EndLoss();
  void Slip(const std::string& what);

  SerialPort& port_;
  Clock& clock_;
  Prompts& prompts_;
  EventPump& pump_;
  LinkState& state_;
  ReplyTable& replies_;
  LinkIndicators indicators_;
  std::function<void(const std::string&)> slip_handler_;

  bool busy_ = false;
  bool reply_accepted_ = false;
  // The request frame of the transaction under way.
  std::string request_;
  std::deque<std::function<void()>> deferred_;

  float previous_reply_time_ = 0.0f;
  std::array<float, 16> intervals_{};
  long requests_sent_ = 0;
  int unanswered_ = 0;

  bool reconnects_ = false;
  bool serve_while_waiting_ = false;
  std::string lost_reason_;
  float last_reopen_try_ = 0.0f;
};

}  // namespace ecu

#endif  // ECU_CORE_LINK_ECU_LINK_H_

#include "core/link/ecu_link.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <utility>

#include "core/link/frame.h"
#include "core/numbers/number_format.h"

namespace ecu {
namespace {

constexpr int kAttempts = 10;
constexpr double kAttemptSeconds = 0.125;
constexpr float kWatchdogSeconds = 2.0f;
// A re-enumerating USB adapter takes about this long to come back; opening
// a missing device costs next to nothing.
constexpr float kReopenSeconds = 1.0f;
// Below this a sleep costs more than waking for the bytes.
constexpr double kShortestSleep = 0.001;

// Marks the link busy for the length of one transaction.
class BusyScope {
 public:
  explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
  ~BusyScope() { busy_ = false; }

 private:
  bool& busy_;
};

}  // namespace

EcuLink::EcuLink(SerialPort& port, Clock& clock, Prompts& prompts,
                 EventPump& pump, LinkState& state, ReplyTable& replies)
    : port_(port),
      clock_(clock),
      prompts_(prompts),
      pump_(pump),
      state_(state),
      replies_(replies) {}

void EcuLink::EnsureLink() {
  TouchReceiveTime();
  if (state_.port_lost) return;
  if (state_.demo_mode) {
    state_.port_ready = true;
    return;
  }
  if (!port_.IsOpen()) {
    if (!state_.port_device.empty() && port_.Open(state_.port_device)) {
      state_.port_ready = true;
    } else {
      prompts_.Tell("Comm Port was not found, starting Demo Mode");
      state_.demo_mode = true;
      // Demo mode is ready at once, as every later call in demo mode would
      // make it; otherwise the polling loop would not start until the user
      // opened a second window.
      state_.port_ready = true;
    }
  }
  Pause(0.2);
}

CommandOutcome EcuLink::SendCommand(std::string_view command) {
  // The lamp is red while a request waits. Windows repaint only when their
  // messages are served, which HandleReply does after the reply: a request
  // answered in its first wait would paint green over green, so the red is
  // set only where it can be seen (no answer yet, no line, demo mode).
  if (state_.demo_mode || !port_.IsOpen()) SetLamp(LampColour::kRed);
  if (state_.demo_mode) return {CommandResult::kDemo};
  const uint8_t code = command.empty() ? 0 : static_cast<uint8_t>(command[0]);
  const int expected = replies_.LengthOf(code);
  if (expected == 0) {
    Slip("request code " + std::to_string(code) + " has no reply length");
    return {CommandResult::kUnknownCode};
  }
  // Transactions never nest: a caller inside a running transaction would
  // read the outer one's reply. Callers route user actions through
  // RunWhenIdle, so this only guards against a programming slip.
  if (busy_) {
    Slip("request code " + std::to_string(code) +
         " sent inside another transaction");
    return {CommandResult::kNested};
  }
  // Reopened by its owner (ecu-cli waits for a lost port its own way).
  if (state_.port_lost && port_.IsOpen()) EndLoss();
  if (state_.port_lost) {
    ++unanswered_;
    return {CommandResult::kPortLost, lost_reason_};
  }
  BusyScope busy(busy_);
  const CommandResult result = Attempt(command, expected);
  if (result == CommandResult::kAnswered) return {result};
  if (result == CommandResult::kPortLost) {
    ++unanswered_;
    MarkLost();
    return {result, lost_reason_};
  }
  // The user took demo mode in the watchdog's question.
  if (state_.demo_mode) return {CommandResult::kDemo};
  ++unanswered_;
  return {CommandResult::kNoAnswer};
}

CommandResult EcuLink::Attempt(std::string_view command, int expected) {
  const int frame_length = expected + 2;
  int bytes_got = 0;
  // It closed itself between two transactions.
  if (!port_.IsOpen() && !port_.LostReason().empty()) {
    return CommandResult::kPortLost;
  }
  if (port_.IsOpen()) {
    port_.ReadAll();
    request_ = BuildRequest(command);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
      // The adapter went away: more attempts would only wait in vain.
      if (!port_.IsOpen()) return CommandResult::kPortLost;
      reply_accepted_ = false;
      port_.Write(request_);
      ++requests_sent_;
      if (serve_while_waiting_) pump_.ProcessPending();
      WaitForBytes(kAttemptSeconds, frame_length);
      bytes_got = port_.BytesAvailable();
      HandleReply();
      if (reply_accepted_) return CommandResult::kAnswered;
    }
    if (!port_.IsOpen()) return CommandResult::kPortLost;
  }
  if (state_.demo_mode) return CommandResult::kDemo;
  prompts_.Tell(
      "Warning, comm non-response.  Maximum retries exceeded.   Expected " +
      std::to_string(frame_length) + " bytes, got " +
      std::to_string(bytes_got));
  return CommandResult::kNoAnswer;
}

void EcuLink::MarkLost() {
  state_.port_lost = true;
  lost_reason_ = port_.LostReason();
  last_reopen_try_ = Now();
  SetLamp(LampColour::kRed);
  std::string text = "The ECU connection was lost (" + state_.port_device;
  if (!lost_reason_.empty()) text += ": " + lost_reason_;
  text += ").";
  text += " The console will reconnect when the port returns.";
  indicators_.lost.Emit(text);
  // Without the console's loop the caller reports the loss from the outcome.
  if (reconnects_) prompts_.Tell(text);
}

bool EcuLink::TryReconnect() {
  if (!state_.port_lost) return false;
  const float now = Now();
  if (ElapsedSince(last_reopen_try_, now) < kReopenSeconds) return false;
  last_reopen_try_ = now;
  if (!port_.Open(state_.port_device)) return false;
  EndLoss();
  return true;
}

void EcuLink::EndLoss() {
  state_.port_lost = false;
  lost_reason_.clear();
  TouchReceiveTime();
  indicators_.lost.Emit(std::string());
}

void EcuLink::Slip(const std::string& what) {
  if (slip_handler_) {
    slip_handler_(what);
  } else {
    std::fprintf(stderr, "program error: %s\n", what.c_str());
  }
}

void EcuLink::HandleReply() {
  const int waiting = port_.BytesAvailable();
  // Nothing in this wait: the request is still waiting.
  SetLamp(waiting > 0 ? LampColour::kGreen : LampColour::kRed);
  if (waiting > 0) {
    state_.last_receive_time = Now();
    const std::string reply = port_.ReadAll();
    if (!IsValidReplyFrame(reply)) return;
    const uint8_t code = ByteAt(reply, 2);
    const ReplyTable::Entry* entry = replies_.Find(code);
    if (entry == nullptr) {
      pump_.ProcessPending();
    } else if (static_cast<int>(reply.size()) - 2 == entry->length) {
      const bool decoded = entry->decode ? entry->decode(reply) : true;
      // Decoded where its code and address say, but a reply to another
      // request (one that came late) does not answer this one.
      reply_accepted_ = decoded && replies_.Answers(request_, reply);
    }
    NoteReplyInterval();
  }
  RunWatchdog();
  pump_.ProcessPending();
}

void EcuLink::NoteReplyInterval() {
  const float now = Now();
  float dt = ElapsedSince(previous_reply_time_, now);
  if (dt < 0) dt = 0;
  previous_reply_time_ = now;
  std::move(intervals_.begin() + 1, intervals_.end(), intervals_.begin());
  intervals_.back() = dt;
  if (!indicators_.group_delay.empty()) {
    indicators_.group_delay.Emit(FormatNumber(GroupDelayMs(), "###0.0"));
  }
}

double EcuLink::GroupDelayMs() const {
  const double mean =
      std::accumulate(intervals_.begin(), intervals_.end(), 0.0) /
      static_cast<double>(intervals_.size());
  const double ms = mean * 1000.0;
  return ms >= 10000.0 ? 9999.9 : ms;
}

void EcuLink::RunWatchdog() {
  const float now = Now();
  float silent = ElapsedSince(state_.last_receive_time, now);
  if (state_.demo_mode) silent = 0;
  if (silent > kWatchdogSeconds) {
    Message question;
    question.text = "Communications has failed, Run Demo mode?";
    question.buttons = Buttons::kYesNoCancel;
    question.icon = Icon::kQuestion;
    question.default_button = 1;
    if (prompts_.Show(question) == Answer::kYes) state_.demo_mode = true;
    // Whatever the answer, the next question waits another 2 silent seconds.
    state_.last_receive_time = Now();
  }
}

void EcuLink::Pause(double seconds) {
  // A sleep rather than a spin: the interface is blocked all the same, and
  // the machine stays idle meanwhile.
  if (seconds > 0) clock_.Sleep(seconds);
}

void EcuLink::WaitForBytes(double timeout_seconds, int count) {
  timeout_seconds = BoundedTimedWait(timeout_seconds);
  const float start = Now();
  int waiting = 0;
  int slept_with = -1;
  while ((waiting = port_.BytesAvailable()) != count) {
    const double elapsed = ElapsedSince(start, Now());
    if (elapsed >= timeout_seconds) return;
    const double left = timeout_seconds - elapsed;
    // Once a reply has begun to trickle in, the rest cannot come faster
    // than the line carries it: sleep that long instead of waking for every
    // byte, but only up to the last byte, which the port's own wait then
    // catches as it lands rather than a sleep's overshoot later. A reply
    // that stalls is waited for as usual.
    const double line_time = (count - waiting - 1) * kSecondsPerByte;
    if (waiting > 0 && waiting != slept_with && line_time >= kShortestSleep) {
      slept_with = waiting;
      clock_.Sleep(std::min(line_time, left));
      continue;
    }
    port_.WaitForReadyRead(left);
    if (!port_.IsOpen()) return;
  }
}

void EcuLink::RunWhenIdle(std::function<void()> action) {
  if (busy_) {
    deferred_.push_back(std::move(action));
  } else {
    action();
  }
}

void EcuLink::RunDeferred() {
  while (!busy_ && !deferred_.empty()) {
    std::function<void()> action = std::move(deferred_.front());
    deferred_.pop_front();
    action();
  }
}

void EcuLink::SetLamp(LampColour colour) { indicators_.lamp.Emit(colour); }

}  // namespace ecu

#ifndef ECU_CORE_CONSOLE_POLLING_LOOP_H_
#define ECU_CORE_CONSOLE_POLLING_LOOP_H_

#include <array>
#include <functional>
#include <string>

#include "core/console/demo_simulation.h"
#include "core/console/views.h"
#include "core/ecu_context.h"
#include "core/readouts/monitor_text.h"

namespace ecu {

// How one polling pass went.
struct PassOutcome {
  int unanswered = 0;      // requests left without an answer
  int replies = 0;         // requests the ECU answered (none in demo mode)
  bool port_lost = false;  // the port went away; the pass stopped there
  std::string reason;      // the driver's words for a lost port
  bool answered() const { return unanswered == 0 && !port_lost; }
};

// The console's one refresh loop: it serves the window messages, and on
// each 100 ms poll tick the switch requests and the polling pass of the
// window in use; in demo mode it simulates the live data.
class PollingLoop {
 public:
  PollingLoop(EcuContext& ctx, Views& views, MonitorText& monitor,
              DemoSimulation& demo)
      : ctx_(ctx), views_(views), monitor_(monitor), demo_(demo) {}

  // What a window does with the new LiveData after its polling pass (read-
  // outs, markers, gauges).
  void set_after_pass(View view, std::function<void()> action) {
    after_pass_[static_cast<size_t>(view)] = std::move(action);
  }
  // What a window shows at the display rate (a chart fed at the line's
  // rate, the reply interval), on each display tick in its mode.
  void set_on_display(View view, std::function<void()> action) {
    on_display_[static_cast<size_t>(view)] = std::move(action);
  }
  // The plotter's chart and log step, on each log tick in plotter mode.
  void set_take_sample(std::function<void()> action) {
    take_sample_ = std::move(action);
  }

  // Runs until `stop` is set (by the main window's close).
  void Run(const bool& stop);

  // The start steps: waits (serving messages) until a window first makes
  // the link ready, then reads the configuration block. False when `stop`
  // came first.
  bool Start(const bool& stop);
  // One turn of the loop. Blocks for the next window message when nothing
  // is due, so an idle console sleeps.
  void Step();
  // The requests of one poll tick for the current window. A port that goes
  // away ends the pass: nothing more can be sent.
  PassOutcome PollingPass();

 private:
  // Reads the configuration block and starts the tach filter afresh: at
  // start-up and when a lost port is back.
  void StartPolling();
  // The plotter on "Fastest": a sample from each answered pass, and the
  // next pass at once instead of on the next tick.
  void SampleAtLineRate(const PassOutcome& pass);
  bool AtLineRate() const;
  // A poll tick, or the next pass at the line's rate.
  bool PassDue() const;
  bool SomethingDue() const;
  void ServeMessages();
  // Between two passes at the line's rate the reply handling has just
  // served the window messages; only the user's deferred actions are left.
  void ServeBetweenPasses();

  EcuContext& ctx_;
  Views& views_;
  MonitorText& monitor_;
  DemoSimulation& demo_;
  std::array<std::function<void()>, kViewCount> after_pass_;
  std::array<std::function<void()>, kViewCount> on_display_;
  std::function<void()> take_sample_;
  bool back_to_back_ = false;
  // The last pass was answered (or simulated): LiveData is current.
  bool live_answered_ = true;
};

}  // namespace ecu

#endif  // ECU_CORE_CONSOLE_POLLING_LOOP_H_

#ifndef ECU_CORE_CONSOLE_CONSOLE_STATE_H_
#define ECU_CORE_CONSOLE_CONSOLE_STATE_H_

#include <array>
#include <cstddef>
#include <cstdint>

namespace ecu {

// The view windows, numbered as LiveWindowMode numbers them.
enum class View : int16_t {
  kNone = 0,
  kMonitor = 1,
  kConfiguration = 2,
  kFuelMap = 3,
  kPlotter = 4,
  kCurves = 5,
  kDashboard = 6,
  kSupplementary = 7,
};
inline constexpr int kViewCount = 8;

// The order in which the loop serves the switch requests.
inline constexpr std::array<View, 7> kSwitchOrder = {
    View::kMonitor, View::kDashboard,     View::kConfiguration, View::kFuelMap,
    View::kCurves,  View::kSupplementary, View::kPlotter};

// The console's process-wide state, read and written by every window.
struct ConsoleState {
  View live_window_mode = View::kNone;  // LiveWindowMode
  // SwitchRequests, one flag per view window (indexed by View).
  std::array<bool, kViewCount> switch_requests{};
  bool poll_tick = false;     // PollTick, set every 100 ms
  bool display_tick = false;  // DisplayTick, set every 100 ms
  bool log_tick = false;      // LogTick, set at the logging interval
  bool master_mode = false;   // MasterMode: debug.ini exists
  bool loop_started = false;
  int log_interval_ms = 1000;  // LogTimer's interval
  // The plotter's "Fastest" entry: a sample from every answer of passes
  // sent back to back, at the line's rate.
  bool fastest_log = false;

  bool& SwitchRequest(View view) {
    return switch_requests[static_cast<size_t>(view)];
  }
};

}  // namespace ecu

#endif  // ECU_CORE_CONSOLE_CONSOLE_STATE_H_

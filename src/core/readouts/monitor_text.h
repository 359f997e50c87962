#ifndef ECU_CORE_READOUTS_MONITOR_TEXT_H_
#define ECU_CORE_READOUTS_MONITOR_TEXT_H_

#include <array>
#include <functional>
#include <string>

#include "core/link/live_data.h"

namespace ecu {

inline constexpr int kMonitorEntries = 19;
using MonitorLines = std::array<std::string, kMonitorEntries>;

// Clamps the stored values the read-outs cannot show, as the monitor does
// before it formats them.
void ClampForMonitor(LiveData& live);

// The texts of the 19 read-outs ECU_Data(0..18); entry 13 stays empty.
MonitorLines ComputeMonitorText(const LiveData& live);

// The monitor's read-outs: writes only the labels whose text changed.
class MonitorText {
 public:
  using LabelWriter = std::function<void(int index, const std::string& text)>;

  explicit MonitorText(LabelWriter writer = nullptr)
      : writer_(std::move(writer)) {}
  void set_writer(LabelWriter writer) { writer_ = std::move(writer); }

  // RefreshMonitorText: clamps, computes, writes the changed labels.
  void Refresh(LiveData& live);
  // InvalidateMonitorText: read-outs 0..13 are rewritten at the next
  // refresh; 14..18 keep what they show.
  void Invalidate();

  const MonitorLines& shown() const { return shown_; }

 private:
  LabelWriter writer_;
  MonitorLines shown_;
};

}  // namespace ecu

#endif  // ECU_CORE_READOUTS_MONITOR_TEXT_H_

#ifndef ECU_CORE_READOUTS_MONITOR_TEXT_H_
#define ECU_CORE_READOUTS_MONITOR_TEXT_H_

#include <array>
#include <string>

#include "core/link/live_data.h"
#include "core/signal.h"
#include "core/units/mixture_units.h"

namespace ecu {

inline constexpr int kMonitorEntries = 19;
using MonitorLines = std::array<std::string, kMonitorEntries>;

// Clamps the stored values the read-outs cannot show, as the monitor does
// before it formats them.
void ClampForMonitor(LiveData& live);

// The texts of the 19 read-outs ECU_Data(0..18); entry 13 stays empty.
// Entry 1, the mixture, in the units chosen (lambda unless told).
MonitorLines ComputeMonitorText(const LiveData& live,
                                const MixtureUnits& units = {});

// The monitor's read-outs: writes only the labels whose text changed.
class MonitorText {
 public:
  // Each read-out whose text changed: its index and new text.
  Signal<int, const std::string&>& labels() { return labels_; }

  // RefreshMonitorText: clamps, computes, writes the changed labels.
  void Refresh(LiveData& live, const MixtureUnits& units = {});
  // InvalidateMonitorText: read-outs 0..13 are rewritten at the next
  // refresh; 14..18 keep what they show.
  void Invalidate();

  const MonitorLines& shown() const { return shown_; }

 private:
  Signal<int, const std::string&> labels_;
  MonitorLines shown_;
};

}  // namespace ecu

#endif  // ECU_CORE_READOUTS_MONITOR_TEXT_H_

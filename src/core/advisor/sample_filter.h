#ifndef ECU_CORE_ADVISOR_SAMPLE_FILTER_H_
#define ECU_CORE_ADVISOR_SAMPLE_FILTER_H_

#include <optional>
#include <vector>

#include "core/advisor/advisor_settings.h"
#include "core/advisor/data_log_reader.h"

namespace ecu {

// Why a sample tells about the map, or why it does not.
enum class SampleUse {
  kUsed,
  kCold,         // coolant below the warm threshold
  kTransient,    // throttle moving, or settling after it moved
  kNotFuelled,   // engine stopped or fuel cut (no pulse width)
  kImplausible,  // lambda or EGO correction outside what a sensor reports
  kNoTarget,     // no set point at its operating point
};

// A sample the advisor can learn from: where it sits on the map, the
// lambda the map alone gave (the EGO correction's share taken out) and the
// lambda wanted there.
struct UsableSample {
  MapPoint point;
  double lambda = 0;
  double target = 0;
};

// Sorts the samples of one log in file order. `usable` gets an entry for
// every sample (nothing where it is not used).
std::vector<SampleUse> SortSamples(
    const DataLog& log, const MapAxes& axes, const LambdaTarget& target,
    const AdvisorSettings& settings,
    std::vector<std::optional<UsableSample>>* usable);

}  // namespace ecu

#endif  // ECU_CORE_ADVISOR_SAMPLE_FILTER_H_

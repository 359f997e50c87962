#include "core/advisor/sample_filter.h"

#include <cmath>

namespace ecu {
namespace {

// Readings a lambda sensor and the EGO trim can really give.
constexpr double kRichestLambda = 0.5;
constexpr double kLeanestLambda = 2.0;
// Samples further apart than this give no throttle rate: a pause in the
// log, not a snap of the throttle.
constexpr double kLongestGapS = 2.0;

}  // namespace

std::vector<SampleUse> SortSamples(
    const DataLog& log, const MapAxes& axes, const LambdaTarget& target,
    const AdvisorSettings& settings,
    std::vector<std::optional<UsableSample>>* usable) {
  std::vector<SampleUse> uses(log.samples.size(), SampleUse::kUsed);
  usable->assign(log.samples.size(), std::nullopt);
  std::optional<double> last_transient_s;
  for (size_t i = 0; i < log.samples.size(); ++i) {
    const LogSample& s = log.samples[i];
    if (i > 0) {
      const LogSample& before = log.samples[i - 1];
      const double dt = s.time_s - before.time_s;
      const double change = std::abs(s.tps_percent - before.tps_percent);
      const bool fast =
          dt > 0 ? change / dt > settings.max_tps_rate : change > 0;
      if (fast && dt <= kLongestGapS) last_transient_s = s.time_s;
    }
    SampleUse& use = uses[i];
    if (s.rpm <= 0 || s.pw_ms <= 0) {
      use = SampleUse::kNotFuelled;
    } else if (s.clt_c < settings.min_clt_c) {
      use = SampleUse::kCold;
    } else if (last_transient_s &&
               s.time_s - *last_transient_s <= settings.settle_s) {
      use = SampleUse::kTransient;
    } else if (!(s.lambda > kRichestLambda && s.lambda < kLeanestLambda) ||
               !(s.ego_correction > 0)) {
      use = SampleUse::kImplausible;
    }
    if (use != SampleUse::kUsed) continue;
    const MapPoint point = PointOnAxes(s.rpm, s.map_kpa, s.tps_percent, axes);
    // The EGO grid is laid over speed and pressure, whatever the map's load.
    MapAxes by_pressure = axes;
    by_pressure.tps_mapped = false;
    const std::optional<double> wanted =
        target.fixed ? target.fixed
                     : EgoSetPointAt(target.ego_grid,
                                     PointOnAxes(s.rpm, s.map_kpa,
                                                 s.tps_percent, by_pressure));
    if (!wanted || !(*wanted > 0)) {
      use = SampleUse::kNoTarget;
      continue;
    }
    // The trim added its share of fuel: without it the map alone would
    // have run leaner by the same factor.
    (*usable)[i] = UsableSample{point, s.lambda * s.ego_correction, *wanted};
  }
  return uses;
}

}  // namespace ecu

#include "sim/drive_cycle.h"

#include <algorithm>
#include <cmath>

#include "core/calibration/map_geometry.h"

namespace ecu::sim {
namespace {

// The present cycle, in seconds: idle, blip up, cruise, ease down, idle.
constexpr double kCycleS = 40.0;
constexpr double kRampUpStartS = 10.0;
constexpr double kCruiseStartS = 13.0;
constexpr double kRampDownStartS = 25.0;
constexpr double kIdleAgainS = 28.0;
constexpr double kIdleRpm = 900.0;
constexpr double kCruiseRpm = 3200.0;

// The sweep: the engine is held at the centre of each cell in turn, up one
// column of the map and down the next, then eased back to the start.
constexpr double kHoldS = 1.2;
constexpr double kMoveS = 0.3;
constexpr double kReturnS = 4.0;
constexpr int kSweepPoints = kMapCellCount;

double SmoothStep(double x) {
  x = std::clamp(x, 0.0, 1.0);
  return x * x * (3.0 - 2.0 * x);
}

// 0 at idle, 1 at cruise.
double LoadAt(double cycle_s) {
  if (cycle_s < kRampUpStartS) return 0.0;
  if (cycle_s < kCruiseStartS) {
    return SmoothStep((cycle_s - kRampUpStartS) /
                      (kCruiseStartS - kRampUpStartS));
  }
  if (cycle_s < kRampDownStartS) return 1.0;
  if (cycle_s < kIdleAgainS) {
    return 1.0 - SmoothStep((cycle_s - kRampDownStartS) /
                            (kIdleAgainS - kRampDownStartS));
  }
  return 0.0;
}

DriveState Present(double time_s) {
  const double cycle_s = std::fmod(time_s, kCycleS);
  const double load = LoadAt(cycle_s);
  DriveState d;
  d.rpm = kIdleRpm + (kCruiseRpm - kIdleRpm) * load;
  d.tps_percent = 1.5 + 20.0 * load;
  d.map_kpa = 32.0 + 43.0 * load;
  if (cycle_s > kRampUpStartS && cycle_s < kCruiseStartS) {
    d.accel_enrichment_ms = 1.2 * (1.0 - (cycle_s - kRampUpStartS) /
                                             (kCruiseStartS - kRampUpStartS));
  }
  // Warm-up from 60 to 85 degrees over a few minutes.
  d.clt_c = 60.0 + 25.0 * (1.0 - std::exp(-time_s / 180.0));
  d.idling = load <= 0.05;
  return d;
}

// The cell centre of sweep point k, as fractions of the axes.
MapPoint SweepPoint(int k) {
  const int column = k / kMapRows;
  const int step = k % kMapRows;
  // Up the even columns, down the odd ones: one row apart at each turn.
  const int row = column % 2 == 0 ? step : kMapRows - 1 - step;
  return {(column + 0.5) / kMapColumns, (row + 0.5) / kMapRows};
}

// The throttle that holds a load at a speed: more opening for the same
// pressure as the engine turns faster.
double ThrottleFor(MapPoint p) {
  return std::clamp(2.0 + 88.0 * std::pow(p.load, 1.4) * (0.6 + 0.4 * p.speed),
                    0.0, 100.0);
}

DriveState Sweep(double time_s, const LiveScaling& scaling) {
  const double round_s = SweepRoundSeconds();
  const double t = std::fmod(time_s, round_s);
  const double per_point = kMoveS + kHoldS;
  MapPoint from;
  MapPoint to;
  double share = 1;
  if (t >= kSweepPoints * per_point) {
    from = SweepPoint(kSweepPoints - 1);
    to = SweepPoint(0);
    share = SmoothStep((t - kSweepPoints * per_point) / kReturnS);
  } else {
    const int k = static_cast<int>(t / per_point);
    from = SweepPoint(k == 0 ? 0 : k - 1);
    to = SweepPoint(k);
    share = SmoothStep((t - k * per_point) / kMoveS);
  }
  const MapPoint p{from.speed + (to.speed - from.speed) * share,
                   from.load + (to.load - from.load) * share};
  DriveState d;
  d.rpm = p.speed * scaling.full_scale_rpm;
  d.map_kpa = scaling.map_offset + p.load * scaling.map_span;
  d.tps_percent = ThrottleFor(p);
  // Opening up calls for a little extra fuel while it lasts.
  const double opening = ThrottleFor(to) - ThrottleFor(from);
  if (opening > 0 && share < 1) {
    d.accel_enrichment_ms = std::min(1.5, opening * 0.1) * (1 - share);
  }
  // A warm engine, as a tuning session wants it.
  d.clt_c = 88.0 - 6.0 * std::exp(-time_s / 60.0);
  d.idling = false;
  return d;
}

}  // namespace

double SweepRoundSeconds() {
  return kSweepPoints * (kMoveS + kHoldS) + kReturnS;
}

double SweepHoldEnd(int cell) {
  const int column = cell / kMapRows;
  const int row = cell % kMapRows;
  const int k =
      kMapRows * column + (column % 2 == 0 ? row : kMapRows - 1 - row);
  return (k + 1) * (kMoveS + kHoldS) - 0.01;
}

DriveState DriveAt(DriveCycle cycle, double time_s,
                   const LiveScaling& scaling) {
  return cycle == DriveCycle::kSweep ? Sweep(time_s, scaling) : Present(time_s);
}

}  // namespace ecu::sim

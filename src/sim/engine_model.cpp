#include "sim/engine_model.h"

#include <algorithm>
#include <cmath>

namespace ecu::sim {
namespace {

// The noise moves on every 50 ms, each step pulling a fifth of the way
// toward a fresh random value, so readings wander rather than jump.
constexpr double kNoiseStepS = 0.05;
constexpr double kNoisePull = 0.2;
// After a long gap only the last steps matter; the walk forgets faster.
constexpr int64_t kMaxNoiseStepsAtOnce = 40;

// The drive cycle, in seconds: idle, blip up, cruise, ease down, idle.
constexpr double kCycleS = 40.0;
constexpr double kRampUpStartS = 10.0;
constexpr double kCruiseStartS = 13.0;
constexpr double kRampDownStartS = 25.0;
constexpr double kIdleAgainS = 28.0;

constexpr double kIdleRpm = 900.0;
constexpr double kCruiseRpm = 3200.0;
constexpr double kHomingS = 0.5;
constexpr double kStartPositionS = 1.0;

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

}  // namespace

EngineModel::EngineModel(uint32_t seed) : random_(seed) { Compute(); }

void EngineModel::AdvanceTo(double now_s) {
  if (!started_) {
    started_ = true;
    origin_s_ = now_s;
  }
  const double t = now_s - origin_s_;
  if (t <= time_s_) return;
  time_s_ = t;
  const auto due_steps = static_cast<int64_t>(std::floor(t / kNoiseStepS));
  const int64_t todo = std::min(due_steps - noise_steps_, kMaxNoiseStepsAtOnce);
  for (int64_t i = 0; i < todo; ++i) StepNoise();
  noise_steps_ = due_steps;
  Compute();
}

void EngineModel::Restart() {
  restart_s_ = time_s_;
  ego_closed_loop_ = true;
  Compute();
}

void EngineModel::set_ego_closed_loop(bool on) {
  ego_closed_loop_ = on;
  Compute();
}

void EngineModel::StepNoise() {
  for (double& n : noise_) {
    // mt19937 output is fixed by the standard, so a seed means the same
    // engine everywhere.
    const double fresh = random_() / 4294967295.0 * 2.0 - 1.0;
    n += (fresh - n) * kNoisePull;
  }
}

void EngineModel::Compute() {
  EngineState& s = state_;
  const double cycle_s = std::fmod(time_s_, kCycleS);
  const double load = LoadAt(cycle_s);
  const bool accelerating = cycle_s > kRampUpStartS && cycle_s < kCruiseStartS;

  s.rpm = kIdleRpm + (kCruiseRpm - kIdleRpm) * load + 20.0 * noise_[kRpmNoise];
  s.tps_percent = std::max(0.0, 1.5 + 20.0 * load + 0.3 * noise_[kTpsNoise]);
  s.map_kpa = 32.0 + 43.0 * load + 1.0 * noise_[kMapNoise];
  s.baro_kpa = 100.0;
  // Warm-up from 60 to 85 degrees over a few minutes.
  s.clt_c = 60.0 + 25.0 * (1.0 - std::exp(-time_s_ / 180.0));
  s.mat_c = 28.0 + 0.5 * noise_[kMatNoise];
  s.clt_enrichment = 1.0 + std::max(0.0, 70.0 - s.clt_c) / 100.0;
  s.map_enrichment = 1.0;
  s.accel_enrichment_ms =
      accelerating ? 1.2 * (1.0 - (cycle_s - kRampUpStartS) /
                                      (kCruiseStartS - kRampUpStartS))
                   : 0.0;
  s.gamma = 1.0 + 0.05 * noise_[kGammaNoise];
  s.ego_correction = ego_closed_loop_ ? 1.0 + 0.03 * noise_[kEgoNoise] : 1.0;
  s.pw_ms = 1.0 +
            s.map_kpa / 100.0 * 4.5 * s.clt_enrichment * s.ego_correction +
            s.accel_enrichment_ms;
  s.battery_v = 13.8 + 0.05 * noise_[kBatteryNoise];
  s.aux_volts = 2.5 + 0.02 * noise_[kAuxNoise];
  // Sensor from about 0.45 V closed to 4.6 V wide open on an 8-bit scale.
  s.throttle_adc = static_cast<int>(
      std::lround(23.0 + (235.0 - 23.0) * s.tps_percent / 100));
  s.map_number = 1;

  s.iac_rpm_setpoint = static_cast<int>(kIdleRpm);
  s.iac_error = 0;
  const double since_restart = time_s_ - restart_s_;
  if (since_restart < kHomingS) {
    s.iac_state = kIacHome;
    s.iac_position = 0;
  } else if (since_restart < kStartPositionS) {
    s.iac_state = kIacStartPosition;
    s.iac_position = 60;
  } else if (load > 0.05) {
    s.iac_state = kIacClosed;
    s.iac_position = 0;
  } else {
    // Below the target the valve opens, above it it closes.
    s.iac_state = noise_[kRpmNoise] < 0.0 ? kIacOpening : kIacClosing;
    s.iac_position =
        40 - static_cast<int>(std::lround(10.0 * noise_[kRpmNoise]));
  }
}

}  // namespace ecu::sim

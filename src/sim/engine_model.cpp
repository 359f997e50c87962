#include "sim/engine_model.h"

#include <algorithm>
#include <cmath>

#include "sim/live_scaling.h"
#include "sim/memory_seed.h"

namespace ecu::sim {
namespace {

// The engine moves on in steps of 50 ms; each step pulls the noise a fifth
// of the way toward a fresh random value, so readings wander rather than
// jump.
constexpr double kStepS = 0.05;
constexpr double kNoisePull = 0.2;
// After a long gap only the last steps matter.
constexpr int64_t kMaxStepsAtOnce = 400;

constexpr double kIdleRpm = 900.0;
constexpr double kHomingS = 0.5;
constexpr double kStartPositionS = 1.0;

}  // namespace

EngineModel::EngineModel(uint32_t seed, DriveCycle drive, double time_scale)
    : random_(seed),
      drive_(drive),
      time_scale_(time_scale > 0 ? time_scale : 1.0),
      truth_(MakeTrueFuelMap(seed)),
      calibration_(&default_calibration_) {
  FillDefaultCalibration(default_calibration_);
  WriteFuelMap(default_calibration_, truth_, 0.0, seed);
  Compute();
}

void EngineModel::set_calibration(const CalibrationMemory* calibration) {
  calibration_ = calibration != nullptr ? calibration : &default_calibration_;
}

void EngineModel::AdvanceTo(double now_s) {
  if (!started_) {
    started_ = true;
    origin_s_ = now_s;
  }
  const double t = (now_s - origin_s_) * time_scale_;
  if (t <= time_s_) return;
  time_s_ = t;
  const auto due_steps = static_cast<int64_t>(std::floor(t / kStepS));
  const int64_t first = std::max(noise_steps_ + 1, due_steps - kMaxStepsAtOnce);
  for (int64_t step = first; step <= due_steps; ++step) {
    StepNoise();
    StepMixture(static_cast<double>(step) * kStepS, kStepS);
  }
  noise_steps_ = std::max(noise_steps_, due_steps);
  Compute();
}

void EngineModel::Restart() {
  restart_s_ = time_s_;
  ego_closed_loop_ = true;
  mixture_.Restart();
  Compute();
}

void EngineModel::set_ego_closed_loop(bool on) {
  ego_closed_loop_ = on;
  if (!on) mixture_.Restart();
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

DriveState EngineModel::Drive(double time_s) const {
  DriveState d = DriveAt(drive_, time_s, ScalingOf(*calibration_));
  d.rpm = std::max(0.0, d.rpm + 20.0 * noise_[kRpmNoise]);
  d.map_kpa += 1.0 * noise_[kMapNoise];
  d.tps_percent = std::max(0.0, d.tps_percent + 0.3 * noise_[kTpsNoise]);
  return d;
}

void EngineModel::StepMixture(double time_s, double dt_s) {
  const DriveState d = Drive(time_s);
  mixture_.Step(dt_s, {*calibration_, truth_, d, ego_closed_loop_,
                       time_s - restart_s_, noise_[kGammaNoise]});
}

void EngineModel::Compute() {
  EngineState& s = state_;
  const DriveState d = Drive(time_s_);
  s.rpm = d.rpm;
  s.tps_percent = d.tps_percent;
  s.map_kpa = d.map_kpa;
  s.baro_kpa = 100.0;
  s.clt_c = d.clt_c;
  s.mat_c = 28.0 + 0.5 * noise_[kMatNoise];
  s.map_enrichment = 1.0;
  s.accel_enrichment_ms = d.accel_enrichment_ms;
  s.clt_enrichment = mixture_.clt_enrichment();
  s.gamma = 1.0 / mixture_.sensor_lambda();
  s.ego_correction = mixture_.ego_correction();
  s.pw_ms = mixture_.pulse_width_ms();
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
  } else if (!d.idling) {
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

#ifndef ECU_SIM_ENGINE_MODEL_H_
#define ECU_SIM_ENGINE_MODEL_H_

#include <cstdint>
#include <random>

#include "sim/calibration_memory.h"
#include "sim/fuel_requirement.h"
#include "sim/mixture.h"
#include "sim/sim_options.h"

namespace ecu::sim {

// Idle-air stepper states as the ECU reports them.
enum IacState {
  kIacShutdown = 1,
  kIacHome = 2,
  kIacStartPosition = 3,
  kIacOpening = 4,
  kIacClosing = 5,
  kIacClosed = 6,
};

// The running engine in engineering units; the live frames encode it.
struct EngineState {
  double rpm = 0.0;
  double map_kpa = 0.0;
  double tps_percent = 0.0;
  double gamma = 1.0;  // oxygen-sensor ratio, 1 / lambda
  double pw_ms = 0.0;  // injector pulse width
  double clt_c = 0.0;
  double mat_c = 0.0;
  double battery_v = 0.0;
  double ego_correction = 1.0;
  double map_enrichment = 1.0;
  double accel_enrichment_ms = 0.0;
  double clt_enrichment = 1.0;
  double baro_kpa = 0.0;
  double aux_volts = 0.0;
  int iac_state = kIacHome;
  int iac_error = 0;
  int iac_position = 0;
  int iac_rpm_setpoint = 0;
  int map_number = 0;
  // 8-bit reading of the throttle sensor, as captured for calibration.
  int throttle_adc = 0;
};

// A small engine on a drive cycle, with a little sensor noise. Its mixture
// follows the ECU's calibration: the fuel map, injector adjustments and EGO
// settings in `calibration` against the engine's own true requirement.
// Given the same seed and the same times it always says the same thing.
class EngineModel {
 public:
  // Without a calibration of its own the engine runs on the default one,
  // whose fuel map matches its requirement.
  explicit EngineModel(uint32_t seed, DriveCycle drive = DriveCycle::kPresent,
                       double time_scale = 1.0);

  // From now on the mixture follows `calibration` (kept by the caller).
  void set_calibration(const CalibrationMemory* calibration);
  const TrueFuelMap& true_fuel_map() const { return truth_; }

  // Runs the engine on to `now_s` of the clock; the first call sets the
  // start of time. Time never goes backwards: an earlier time changes
  // nothing.
  void AdvanceTo(double now_s);
  // After a controller reset the stepper homes again and the EGO loop is
  // back on.
  void Restart();

  const EngineState& state() const { return state_; }

  void set_ego_closed_loop(bool on);
  bool ego_closed_loop() const { return ego_closed_loop_; }

 private:
  // Slowly wandering noise in -1..1 for each sensor that moves.
  enum Channel {
    kRpmNoise,
    kMapNoise,
    kTpsNoise,
    kGammaNoise,
    kEgoNoise,
    kMatNoise,
    kBatteryNoise,
    kAuxNoise,
    kChannelCount
  };

  void StepNoise();
  // One step of the mixture at engine time `time_s`.
  void StepMixture(double time_s, double dt_s);
  void Compute();
  DriveState Drive(double time_s) const;

  std::mt19937 random_;
  DriveCycle drive_;
  double time_scale_;
  TrueFuelMap truth_;
  CalibrationMemory default_calibration_;
  const CalibrationMemory* calibration_;
  Mixture mixture_;
  double noise_[kChannelCount] = {};
  bool started_ = false;
  double origin_s_ = 0.0;
  double time_s_ = 0.0;      // engine time since the first AdvanceTo
  double restart_s_ = 0.0;   // engine time of the last power-up or reset
  int64_t noise_steps_ = 0;  // noise steps taken so far
  bool ego_closed_loop_ = true;
  EngineState state_;
};

}  // namespace ecu::sim

#endif  // ECU_SIM_ENGINE_MODEL_H_

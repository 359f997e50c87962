#ifndef ECU_SIM_MIXTURE_H_
#define ECU_SIM_MIXTURE_H_

#include "sim/calibration_memory.h"
#include "sim/drive_cycle.h"
#include "sim/fuel_requirement.h"

namespace ecu::sim {

// What the mixture follows at one step.
struct MixtureInputs {
  const CalibrationMemory& memory;  // the ECU's calibration as it is now
  const TrueFuelMap& truth;
  const DriveState& drive;
  bool closed_loop_switch = true;  // the dashboard's EGO switch
  double since_restart_s = 0;
  double sensor_noise = 0;  // -1 .. 1
};

// The fuel the ECU injects and the lambda that results. The ECU's pulse is
// its fuel map at the operating point (bilinear, as the console's geometry
// places it) times the fuel scaler, the load, the coolant enrichment and
// the EGO correction, plus the fuel offset and the acceleration
// enrichment; the engine needs its true requirement in the same terms. The
// offset is the injectors' opening time: only the part that differs from
// the default fuels the engine. In closed loop the EGO correction pulls the
// sensor's lambda to the set point of the EGO grid, within its limits.
class Mixture {
 public:
  // Moves on by `dt_s` seconds of engine time.
  void Step(double dt_s, const MixtureInputs& in);
  // Back to open loop after a reset.
  void Restart();

  // The oxygen sensor: it follows the exhaust with a little lag and noise.
  double sensor_lambda() const { return sensor_lambda_; }
  double ego_correction() const { return ego_correction_; }
  double pulse_width_ms() const { return pulse_width_ms_; }
  double clt_enrichment() const { return clt_enrichment_; }

 private:
  bool started_ = false;
  double exhaust_lambda_ = 1.0;  // what the sensor sees, lagged
  double sensor_lambda_ = 1.0;
  double ego_correction_ = 1.0;
  double since_ego_step_s_ = 0;
  double pulse_width_ms_ = 0;
  double clt_enrichment_ = 1.0;
};

}  // namespace ecu::sim

#endif  // ECU_SIM_MIXTURE_H_

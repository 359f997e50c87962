#ifndef ECU_SIM_DRIVE_CYCLE_H_
#define ECU_SIM_DRIVE_CYCLE_H_

#include "sim/live_scaling.h"
#include "sim/sim_options.h"

namespace ecu::sim {

// Where the driver holds the engine at one moment, before sensor noise.
struct DriveState {
  double rpm = 0;
  double map_kpa = 0;
  double tps_percent = 0;
  double accel_enrichment_ms = 0;
  double clt_c = 0;
  bool idling = false;  // the idle-air valve has the engine
};

// The drive at `time_s` seconds of engine time. The sweep covers the fuel
// map's axes as the calibration scales them.
DriveState DriveAt(DriveCycle cycle, double time_s, const LiveScaling& scaling);

// One round of the sweep, in seconds, and the time in it at which the
// sweep has held the engine at the centre of a map cell longest.
double SweepRoundSeconds();
double SweepHoldEnd(int cell);

}  // namespace ecu::sim

#endif  // ECU_SIM_DRIVE_CYCLE_H_

#ifndef ECU_SIM_FAULT_CYCLE_H_
#define ECU_SIM_FAULT_CYCLE_H_

#include "sim/sim_options.h"

namespace ecu::sim {

// Every fault in turn, for long runs that should meet them all: a clean
// phase, then silence, dropped replies, bad checksums, split replies, an
// extra byte, a wrong length and late replies, each on its own for
// `fault_cycle_s`, over and over.
inline constexpr int kFaultPhases = 8;

// The phase at `now_s` seconds of the sim's run.
int FaultPhaseAt(double now_s, double phase_s);
// `base` with the fault of `phase` on (and the other faults as given).
SimOptions WithFaultPhase(SimOptions base, int phase);
// "clean", "silent", "drop", ... for the traffic log.
const char* FaultPhaseName(int phase);

}  // namespace ecu::sim

#endif  // ECU_SIM_FAULT_CYCLE_H_

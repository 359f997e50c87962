#include "sim/fault_cycle.h"

#include <cmath>

namespace ecu::sim {
namespace {

// Often enough that a monitor pass meets the fault, seldom enough that most
// transactions still get through.
constexpr int kEvery = 4;
// Later than a reply usually comes, earlier than an attempt gives up.
constexpr double kLateReplySeconds = 0.1;

}  // namespace

int FaultPhaseAt(double now_s, double phase_s) {
  if (!(phase_s > 0) || !(now_s > 0)) return 0;
  return static_cast<int>(std::fmod(std::floor(now_s / phase_s), kFaultPhases));
}

SimOptions WithFaultPhase(SimOptions base, int phase) {
  switch (phase) {
    case 1:
      base.silent = true;
      break;
    case 2:
      base.drop_every = kEvery;
      break;
    case 3:
      base.corrupt_every = kEvery;
      break;
    case 4:
      base.split_every = kEvery;
      break;
    case 5:
      base.extra_byte_every = kEvery;
      break;
    case 6:
      base.wrong_length_every = kEvery;
      break;
    case 7:
      base.delay_s = kLateReplySeconds;
      break;
    default:
      break;
  }
  return base;
}

const char* FaultPhaseName(int phase) {
  static constexpr const char* kNames[kFaultPhases] = {
      "clean", "silent",     "drop",         "corrupt",
      "split", "extra byte", "wrong length", "delay"};
  return phase >= 0 && phase < kFaultPhases ? kNames[phase] : "clean";
}

}  // namespace ecu::sim

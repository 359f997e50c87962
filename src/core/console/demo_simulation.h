#ifndef ECU_CORE_CONSOLE_DEMO_SIMULATION_H_
#define ECU_CORE_CONSOLE_DEMO_SIMULATION_H_

#include <cstdint>
#include <random>

#include "core/calibration/calibration_image.h"
#include "core/link/live_data.h"

namespace ecu {

// Fills LiveData with values that move a little, so that every window has
// something to show in demo mode.
class DemoSimulation {
 public:
  explicit DemoSimulation(uint32_t seed = 20080914) : random_(seed) {}

  void Run(LiveData& live, CalibrationImage& image);

 private:
  // A fresh uniform number in [0, 1).
  double Next() { return uniform_(random_); }

  std::mt19937 random_;
  std::uniform_real_distribution<double> uniform_{0.0, 1.0};
};

}  // namespace ecu

#endif  // ECU_CORE_CONSOLE_DEMO_SIMULATION_H_

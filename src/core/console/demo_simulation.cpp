#include "core/console/demo_simulation.h"

namespace ecu {

void DemoSimulation::Run(LiveData& live, CalibrationImage& image) {
  live.FullScaleRpm = 8000.0f;
  // The dashboard's tachometer reads the rev limit from the block holder.
  image.set_scalar("KILL_RPM", 925);
  live.RPM = static_cast<float>(3210 + 50 * Next());
  live.CLT = static_cast<float>(92 + 2 * Next());
  live.MAT = static_cast<float>(23 + 2 * Next());
  live.TPS = static_cast<float>(15 + 1.5 * Next());
  live.Lambda = static_cast<float>(1 + 0.17 * Next());
  live.MAP = static_cast<float>(32 + 0.4 * Next());
  live.PW = static_cast<float>(0.0081 + 0.0002 * Next());
  live.EgoCorrection = static_cast<float>(1 + 0.05 * Next());
  live.MapEnrichment = static_cast<float>(0.95 + 0.05 * Next());
  live.CltEnrichment = 1.02f;
  live.AuxValue = static_cast<float>(150 + 0.4 * Next());
  live.BatteryVolts = static_cast<float>(14.2 + 0.2 * Next());
  live.Baro = 101.2f;
  live.Gamma = static_cast<float>(1 + 0.15 * Next());
}

}  // namespace ecu

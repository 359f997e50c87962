#include "support/sweep_log.h"

#include <cstdio>

#include "core/console/data_log.h"
#include "sim/virtual_ecu.h"

namespace ecu::testing {

std::string SweepLogText(int samples, double map_error_percent) {
  sim::SimOptions options;
  options.drive = sim::DriveCycle::kSweep;
  options.true_map_error_percent = map_error_percent;
  sim::VirtualEcu ecu(options);
  sim::EngineModel& engine = ecu.engine();
  engine.set_ego_closed_loop(false);
  std::string text = LogHeader("12-07-2026");
  constexpr int kStart = 10 * 3600;
  for (int i = 0; i < samples; ++i) {
    engine.AdvanceTo(i * 0.1);
    const sim::EngineState& s = engine.state();
    LiveData live;
    live.RPM = static_cast<float>(s.rpm);
    live.Lambda = static_cast<float>(1 / s.gamma);
    live.CLT = static_cast<float>(s.clt_c);
    live.TPS = static_cast<float>(s.tps_percent);
    live.MAP = static_cast<float>(s.map_kpa);
    live.MAT = static_cast<float>(s.mat_c);
    live.PW = static_cast<float>(s.pw_ms / 1000);
    live.EgoCorrection = static_cast<float>(s.ego_correction);
    const int t = (kStart + i / 10) % 86400;
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", t / 3600, t / 60 % 60,
                  t % 60);
    text += LogDataLine(live, time);
  }
  return text;
}

}  // namespace ecu::testing

#include "sim/live_frames.h"

#include <algorithm>
#include <cmath>

namespace ecu::sim {
namespace {

// Barometric pressure is always on the type 0 scale.
constexpr double kBaroSpan = 115.0;
constexpr double kBaroOffset = 10.0;
// Pulse widths count in 1.6 microsecond ticks.
constexpr double kTicksPerMs = 1.0 / 0.0016;
// Acceleration enrichment: 65535 counts make 104.856 ms.
constexpr double kAccelCountsPerMs = 65535.0 / 104.856;

int Nearest(double value, int lowest, int highest) {
  return static_cast<int>(
      std::clamp<long>(std::lround(value), lowest, highest));
}

void PutByte(std::string& data, double value) {
  data.push_back(static_cast<char>(Nearest(value, 0, 255)));
}

void PutSigned(std::string& data, double value) {
  data.push_back(static_cast<char>(Nearest(value, -128, 127) & 0xFF));
}

void PutWord(std::string& data, double value) {
  const int raw = Nearest(value, 0, 65535);
  data.push_back(static_cast<char>(raw & 0xFF));
  data.push_back(static_cast<char>(raw >> 8));
}

// Ten-bit reading of a value on a span above an offset. A span of zero
// (a calibration with FS_RPM 0) pins the reading at full scale.
double TenBit(double value, double span, double offset) {
  if (span <= 0.0) return 1023.0;
  return (value - offset) / span * 1023.0;
}

}  // namespace

std::string MainFrameData(const EngineState& s, const LiveScaling& scaling) {
  std::string data;
  PutWord(data, TenBit(s.map_kpa, scaling.map_span, scaling.map_offset));
  PutWord(data, TenBit(s.tps_percent, 100.0, 0.0));
  PutWord(data, TenBit(s.rpm, scaling.full_scale_rpm, 0.0));
  PutWord(data, s.gamma * 101.0);
  PutWord(data, s.pw_ms * kTicksPerMs);
  PutSigned(data, s.clt_c);
  PutSigned(data, s.mat_c);
  PutByte(data, s.battery_v / 20.0 * 255.0);
  PutByte(data, s.ego_correction * 64.0);
  PutByte(data, s.map_enrichment * 128.0);
  PutWord(data, s.accel_enrichment_ms * kAccelCountsPerMs);
  PutByte(data, s.clt_enrichment * 64.0);
  PutWord(data, TenBit(s.baro_kpa, kBaroSpan, kBaroOffset));
  return data;
}

std::string AuxFrameData(const EngineState& s) {
  std::string data(2, '\0');  // bytes 3 and 4 carry nothing
  PutWord(data, s.aux_volts / 5.0 * 1024.0);
  return data;
}

std::string IdleAirFrameData(const EngineState& s) {
  std::string data;
  PutByte(data, s.iac_state);
  PutByte(data, s.iac_error);
  PutWord(data, s.iac_position);
  PutWord(data, s.iac_rpm_setpoint);
  return data;
}

std::string ActiveMapFrameData(const EngineState& s) {
  std::string data;
  PutByte(data, s.map_number);
  data.append(6, '\0');  // not interpreted by the console
  return data;
}

void AddLiveCommands(CommandTable& table, const EngineModel& engine,
                     const CalibrationMemory& memory) {
  table.Add(kMainFrameCode, [&engine, &memory](const Request&) {
    return std::optional(MainFrameData(engine.state(), ScalingOf(memory)));
  });
  table.Add(kAuxFrameCode, [&engine](const Request&) {
    return std::optional(AuxFrameData(engine.state()));
  });
  table.Add(kIdleAirFrameCode, [&engine](const Request&) {
    return std::optional(IdleAirFrameData(engine.state()));
  });
  table.Add(kActiveMapFrameCode, [&engine](const Request&) {
    return std::optional(ActiveMapFrameData(engine.state()));
  });
}

}  // namespace ecu::sim

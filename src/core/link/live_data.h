#ifndef ECU_CORE_LINK_LIVE_DATA_H_
#define ECU_CORE_LINK_LIVE_DATA_H_

#include <cstdint>

namespace ecu {

// The live engine variables last decoded from the ECU (or simulated in demo
// mode), with the scaling parameters that decoding and every display use.
struct LiveData {
  float RPM = 0;     // rev/min, after the tach filter
  float MAP = 0;     // kPa
  float TPS = 0;     // percent
  float Gamma = 0;   // oxygen-sensor ratio, never below 0.3
  float Lambda = 0;  // 1 / Gamma
  float PW = 0;      // injector pulse width, seconds
  float CLT = 0;     // coolant, degrees C
  float MAT = 0;     // manifold air, degrees C
  float BatteryVolts = 0;
  float EgoCorrection = 0;    // 1.0 = none
  float MapEnrichment = 0;    // 1.0 = none
  float AccelEnrichment = 0;  // milliseconds
  float CltEnrichment = 0;    // 1.0 = none
  float Baro = 0;             // kPa
  float AuxVolts = 0;         // 0..5 V
  float AuxValue = 0;         // -100..500 scale
  int32_t IacState = 0;
  int32_t IacError = 0;
  int32_t IacPosition = 0;
  int32_t IacRpmSetpoint = 0;
  uint8_t MapNumber = 0;

  // Scaling set by the configuration block and its echoes. These are the
  // start-up values, the only place they are set.
  float FullScaleRpm = 10000.0f;
  float MapSpan = 115.0f;
  float MapOffset = 10.0f;
  float TachFilterFactor = kStartTachFilterFactor;
  float PreviousRpm = 0;  // the tach filter's memory

  // The polling loop starts the tach filter afresh.
  static constexpr float kStartTachFilterFactor = 0.8f;
  void RestartTachFilter() {
    PreviousRpm = 0;
    TachFilterFactor = kStartTachFilterFactor;
  }
};

// The full-scale speed from the ECU. One of 0 would scale every speed to
// nothing and divide by zero wherever a speed is shown against it: the
// speed it had stays.
inline void ApplyFullScaleRpm(int32_t raw, LiveData& live) {
  if (raw > 0) live.FullScaleRpm = static_cast<float>(raw);
}

// MAP sensor types: the low two bits of MAP_TYPE select span and offset.
struct MapSensorScale {
  float span;
  float offset;
};
inline MapSensorScale MapSensorScaleFor(int map_type) {
  static constexpr MapSensorScale kScales[4] = {
      {115.0f, 10.0f}, {255.0f, 10.0f}, {551.0f, 79.0f}, {394.0f, 10.0f}};
  return kScales[map_type & 3];
}

}  // namespace ecu

#endif  // ECU_CORE_LINK_LIVE_DATA_H_

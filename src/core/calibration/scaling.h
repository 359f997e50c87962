#ifndef ECU_CORE_CALIBRATION_SCALING_H_
#define ECU_CORE_CALIBRATION_SCALING_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/link/live_data.h"

namespace ecu {

// How a raw ECU integer becomes the number a tuner reads and types. Every
// calibration item names one of these; the conversions live in scaling.cpp.
enum class Scaling {
  kRaw,                  // the raw count itself
  kSignedByte,           // two's complement byte, degrees C
  kGain128,              // raw / 128
  kGain64,               // raw / 64
  kPercent64,            // raw / 64 x 100 (TPS mix)
  kEgoLambda,            // 101 / raw (EGO set points)
  kRetardDegrees,        // raw / 256 x 32
  kIdleRpm,              // raw x 8
  kMilliseconds,         // raw x 0.0016 ms (1.6 us ticks)
  kDutyPercent,          // raw / 16383 x 100
  kFuelOffset,           // (raw - 16384) x 0.0016 ms
  kBatteryCompensation,  // raw x 1.6 us/V
  kRpmFraction,          // raw / 1023 x FullScaleRpm
  kAccelRate,            // raw x 76.3 / 819 V/s
  kPressureFraction,     // raw / 1023 x MapSpan + MapOffset, whole kPa
  kAccelSensitivity,     // raw x 0.205 ms/V
  kPulseCount,           // raw, shown at most 100
  kTempThreshold,        // signed byte, shown limited to -14..120
  kIacPercent,           // raw x 100 / 1024
  kDwellMs,              // raw x 0.0032 ms
  kDwellPercent,         // 100 - raw / 256 x 100
  kWideBandLambda,       // 100 / raw
  kTpsPercent,           // raw / 255 x 100, typed value x 2.55
  kTpsOpenLoopPercent,   // raw / 255 x 100, typed value / 100 x 256
  kMapType,              // raw AND 3
};

// The value shown for a raw count; nothing for a count that has no value
// (a lambda set point of raw 0 would divide by zero).
std::optional<double> RawToValue(Scaling scaling, int32_t raw,
                                 const LiveData& live);

// The raw count for a typed value, taken to the nearest integer with halves
// to even. No limits are applied here, apart from the pressure fraction,
// which is held to its 10-bit range by definition.
int64_t ValueToRaw(Scaling scaling, double value, const LiveData& live);

// The field text for a raw count: the value in the display pattern, a plain
// integer where the item has no pattern, and an empty text where the count
// has no value.
std::string DisplayText(Scaling scaling, std::string_view format, int32_t raw,
                        const LiveData& live);

}  // namespace ecu

#endif  // ECU_CORE_CALIBRATION_SCALING_H_

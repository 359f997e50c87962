#include "core/calibration/scaling.h"

#include <algorithm>

#include "core/numbers/number_format.h"
#include "core/numbers/rounding.h"

namespace ecu {
namespace {

// One count of the injector and priming times is 1.6 microseconds; one of
// the coil times 3.2.
constexpr double kTickSeconds = 1.6e-6;
constexpr double kDwellTickSeconds = 3.2e-6;
constexpr int kFuelOffsetBias = 16384;

int SignedByte(int32_t raw) {
  const int byte = raw & 0xFF;
  return byte > 127 ? byte - 256 : byte;
}

}  // namespace

std::optional<double> RawToValue(Scaling scaling, int32_t raw,
                                 const LiveData& live) {
  const double r = raw;
  switch (scaling) {
    case Scaling::kRaw:
      return r;
    case Scaling::kSignedByte:
      return SignedByte(raw);
    case Scaling::kGain128:
      return r / 128;
    case Scaling::kGain64:
      return r / 64;
    case Scaling::kPercent64:
      return r / 64 * 100;
    case Scaling::kEgoLambda:
      if (raw == 0) return std::nullopt;
      return 101 / r;
    case Scaling::kRetardDegrees:
      return r / 256 * 32;
    case Scaling::kIdleRpm:
      return r * 8;
    case Scaling::kMilliseconds:
      return r * 0.0016;
    case Scaling::kDutyPercent:
      return r / 16383 * 100;
    case Scaling::kFuelOffset:
      return (r - kFuelOffsetBias) * 0.0016;
    case Scaling::kBatteryCompensation:
      return r * 1.6;
    case Scaling::kRpmFraction:
      return r / 1023 * live.FullScaleRpm;
    case Scaling::kAccelRate:
      return r * 76.3 / 819;
    case Scaling::kPressureFraction:
      return static_cast<double>(
          RoundHalfEven(r / 1023 * live.MapSpan + live.MapOffset));
    case Scaling::kAccelSensitivity:
      return r * 0.205;
    case Scaling::kPulseCount:
      return std::min(r, 100.0);
    case Scaling::kTempThreshold:
      return std::clamp(SignedByte(raw), -14, 120);
    case Scaling::kIacPercent:
      return r * 100 / 1024;
    case Scaling::kDwellMs:
      return r * 0.0032;
    case Scaling::kDwellPercent:
      return 100 - r / 256 * 100;
    case Scaling::kWideBandLambda:
      // The controller's own formula adds 0.00001 to the count; for a count
      // of 0 that only turns a division by zero into ten million.
      if (raw == 0) return std::nullopt;
      return 100 / (r + 0.00001);
    case Scaling::kTpsPercent:
    case Scaling::kTpsOpenLoopPercent:
      return r / 255 * 100;
    case Scaling::kMapType:
      return raw & 3;
  }
  return r;
}

int64_t ValueToRaw(Scaling scaling, double value, const LiveData& live) {
  const double v = value;
  switch (scaling) {
    case Scaling::kRaw:
    case Scaling::kSignedByte:
    case Scaling::kPulseCount:
    case Scaling::kTempThreshold:
    case Scaling::kMapType:
      return RoundHalfEven(v);
    case Scaling::kGain128:
      return RoundHalfEven(v * 128);
    case Scaling::kGain64:
      return RoundHalfEven(v * 64);
    case Scaling::kPercent64:
      return RoundHalfEven(v / 100 * 64);
    case Scaling::kEgoLambda:
      return RoundHalfEven(101 / v);
    case Scaling::kRetardDegrees:
      return RoundHalfEven(v / 32 * 256);
    case Scaling::kIdleRpm:
      return RoundHalfEven(v / 8);
    case Scaling::kMilliseconds:
      return RoundHalfEven(v * 0.001 / kTickSeconds);
    case Scaling::kDutyPercent:
      return RoundHalfEven(v / 100 * 16383);
    case Scaling::kFuelOffset:
      return RoundHalfEven(v * 0.001 / kTickSeconds + kFuelOffsetBias);
    case Scaling::kBatteryCompensation:
      // Whole microseconds per volt first, then counts of 1.6.
      return RoundHalfEven(static_cast<double>(RoundHalfEven(v)) / 1.6);
    case Scaling::kRpmFraction:
      return RoundHalfEven(v / live.FullScaleRpm * 1023);
    case Scaling::kAccelRate:
      return RoundHalfEven(v * 819 / 76.3);
    case Scaling::kPressureFraction:
      return std::clamp<int64_t>(
          RoundHalfEven((v - live.MapOffset) / live.MapSpan * 1023), 0, 1023);
    case Scaling::kAccelSensitivity:
      return RoundHalfEven(v * 1000 / 205);
    case Scaling::kIacPercent:
      return RoundHalfEven(v * 1024 / 100);
    case Scaling::kDwellMs:
      return RoundHalfEven(v * 0.001 / kDwellTickSeconds);
    case Scaling::kDwellPercent:
      return RoundHalfEven(256 - v / 100 * 256);
    case Scaling::kWideBandLambda:
      return RoundHalfEven(100 / v);
    case Scaling::kTpsPercent:
      return RoundHalfEven(v * 2.55);
    case Scaling::kTpsOpenLoopPercent:
      return RoundHalfEven(v / 100 * 256);
  }
  return RoundHalfEven(v);
}

std::string DisplayText(Scaling scaling, std::string_view format, int32_t raw,
                        const LiveData& live) {
  const std::optional<double> value = RawToValue(scaling, raw, live);
  if (!value) return "";
  if (format.empty()) return std::to_string(RoundHalfEven(*value));
  return FormatNumber(*value, format);
}

}  // namespace ecu

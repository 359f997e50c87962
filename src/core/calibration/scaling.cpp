#include "core/calibration/scaling.h"

#include <algorithm>
#include <cmath>

#include "core/numbers/decimal.h"
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

// A fraction of whole numbers.
struct Fraction {
  int64_t num;
  int64_t den;
};

// raw = offset + value x factor, or raw = factor / value, with the exact
// factor each conversion names ("ms x 625", "x 1023 / full scale"), so that
// a typed decimal whose count is exactly a half rounds to even.
struct ExactConversion {
  bool reciprocal = false;
  Fraction factor = {1, 1};
  Fraction offset = {0, 1};
};

// A scaling parameter that is a whole number, as full scales and sensor
// spans are; nothing otherwise.
std::optional<int64_t> Whole(float parameter) {
  if (!(parameter > 0) || parameter > 1e6f ||
      parameter != std::floor(parameter)) {
    return std::nullopt;
  }
  return static_cast<int64_t>(parameter);
}

std::optional<ExactConversion> ExactConversionOf(Scaling scaling,
                                                 const LiveData& live) {
  using C = ExactConversion;
  switch (scaling) {
    case Scaling::kRaw:
    case Scaling::kSignedByte:
    case Scaling::kPulseCount:
    case Scaling::kTempThreshold:
    case Scaling::kMapType:
      return C{};
    case Scaling::kGain128:
      return C{.factor = {128, 1}};
    case Scaling::kGain64:
      return C{.factor = {64, 1}};
    case Scaling::kPercent64:
      return C{.factor = {64, 100}};
    case Scaling::kEgoLambda:
      return C{.reciprocal = true, .factor = {101, 1}};
    case Scaling::kRetardDegrees:
      return C{.factor = {256, 32}};
    case Scaling::kIdleRpm:
      return C{.factor = {1, 8}};
    case Scaling::kMilliseconds:
      return C{.factor = {625, 1}};
    case Scaling::kDutyPercent:
      return C{.factor = {16383, 100}};
    case Scaling::kFuelOffset:
      return C{.factor = {625, 1}, .offset = {kFuelOffsetBias, 1}};
    case Scaling::kRpmFraction:
      if (const auto full_scale = Whole(live.FullScaleRpm)) {
        return C{.factor = {1023, *full_scale}};
      }
      return std::nullopt;
    case Scaling::kAccelRate:
      return C{.factor = {8190, 763}};
    case Scaling::kPressureFraction: {
      const auto span = Whole(live.MapSpan);
      const auto offset = Whole(live.MapOffset);
      if (!span || !offset) return std::nullopt;
      return C{.factor = {1023, *span}, .offset = {-*offset * 1023, *span}};
    }
    case Scaling::kAccelSensitivity:
      return C{.factor = {1000, 205}};
    case Scaling::kIacPercent:
      return C{.factor = {1024, 100}};
    case Scaling::kDwellMs:
      return C{.factor = {625, 2}};
    case Scaling::kDwellPercent:
      return C{.factor = {-256, 100}, .offset = {256, 1}};
    case Scaling::kWideBandLambda:
      return C{.reciprocal = true, .factor = {100, 1}};
    case Scaling::kTpsPercent:
      return C{.factor = {255, 100}};
    case Scaling::kTpsOpenLoopPercent:
      return C{.factor = {256, 100}};
    case Scaling::kBatteryCompensation:
      break;  // two roundings, see ValueToRaw
  }
  return std::nullopt;
}

// The count for `value` by exact arithmetic on its decimal; nothing for a
// value too large or too fine to be typed for any item (the plain double
// formula then serves, far outside every range anyway).
std::optional<int64_t> ExactRaw(const ExactConversion& c, double value) {
  constexpr int kMostDigits = 18;
  const std::optional<Decimal> d = ShortestDecimal(value);
  if (!d || d->exponent > kMostDigits || d->exponent < -kMostDigits) {
    return std::nullopt;
  }
  __int128 power = 1;
  for (int i = 0; i < (d->exponent < 0 ? -d->exponent : d->exponent); ++i) {
    power *= 10;
  }
  // value = vn / vd
  __int128 vn = d->mantissa;
  __int128 vd = 1;
  if (d->exponent >= 0) {
    vn *= power;
  } else {
    vd = power;
  }
  constexpr __int128 kLargest = static_cast<__int128>(1e20);
  if (vn > kLargest || vn < -kLargest) return std::nullopt;
  const Fraction f = c.factor;
  const Fraction o = c.offset;
  if (c.reciprocal) {
    if (vn == 0) return std::nullopt;
    return RoundHalfEven(f.num * vd, f.den * vn);
  }
  return RoundHalfEven(o.num * f.den * vd + f.num * vn * o.den,
                       o.den * f.den * vd);
}

// The same conversions in plain double arithmetic, for the values the exact
// one does not take.
int64_t DoubleValueToRaw(Scaling scaling, double value, const LiveData& live) {
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
  if (scaling == Scaling::kBatteryCompensation) {
    // Whole microseconds per volt first, then counts of 1.6 (x 5 / 8).
    if (const auto us = ExactRaw(ExactConversion{}, value)) {
      return RoundHalfEven(static_cast<__int128>(*us) * 5, 8);
    }
  } else if (const auto c = ExactConversionOf(scaling, live)) {
    if (const auto raw = ExactRaw(*c, value)) {
      return scaling == Scaling::kPressureFraction
                 ? std::clamp<int64_t>(*raw, 0, 1023)
                 : *raw;
    }
  }
  return DoubleValueToRaw(scaling, value, live);
}

std::string DisplayText(Scaling scaling, std::string_view format, int32_t raw,
                        const LiveData& live) {
  const std::optional<double> value = RawToValue(scaling, raw, live);
  if (!value) return "";
  if (format.empty()) return std::to_string(RoundHalfEven(*value));
  return FormatNumber(*value, format);
}

}  // namespace ecu

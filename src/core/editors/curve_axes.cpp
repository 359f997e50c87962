#include "core/editors/curve_axes.h"

#include <cmath>

#include "core/numbers/number_format.h"

namespace ecu {
namespace {

// The temperature curves run from -13 C in steps of 16 degrees; the baro
// curve covers 10 to 125 kPa and the AUX input 0 to 3.3 V.
constexpr double kColdest = -13;
constexpr double kTemperatureSpan = 128;
constexpr double kBaroOffset = 10;
constexpr double kBaroSpan = 115;
constexpr double kAuxFullScale = 3.3;

std::string Truncated(double value) {
  return FormatNumber(std::floor(value), "####0");
}

std::string Label(CurveInput input, int k, int points, const LiveData& live) {
  const double fraction = static_cast<double>(k) / (points - 1);
  switch (input) {
    case CurveInput::kCoolant:
    case CurveInput::kAirTemperature:
      return Truncated(fraction * kTemperatureSpan + kColdest);
    case CurveInput::kAuxVolts:
      return FormatNumber(k * kAuxFullScale / (points - 1), "0.000");
    case CurveInput::kManifoldPressure:
      return Truncated(std::floor(fraction * live.MapSpan) + live.MapOffset);
    case CurveInput::kEngineSpeed:
      return Truncated(k * static_cast<double>(live.FullScaleRpm) /
                       (points - 1));
    case CurveInput::kBaroPressure:
      return Truncated(std::floor(fraction * kBaroSpan) + kBaroOffset);
  }
  return {};
}

}  // namespace

std::vector<std::string> CurveAxisLabels(CurveInput input, int points,
                                         const LiveData& live) {
  std::vector<std::string> labels;
  for (int k = 0; k < points; ++k) {
    labels.push_back(Label(input, k, points, live));
  }
  return labels;
}

double LiveFraction(CurveInput input, const LiveData& live) {
  switch (input) {
    case CurveInput::kCoolant:
      return (live.CLT - kColdest) / kTemperatureSpan;
    case CurveInput::kAirTemperature:
      return (live.MAT - kColdest) / kTemperatureSpan;
    case CurveInput::kAuxVolts:
      return live.AuxVolts / kAuxFullScale;
    case CurveInput::kManifoldPressure:
      return (live.MAP - live.MapOffset) / static_cast<double>(live.MapSpan);
    case CurveInput::kEngineSpeed:
      return live.RPM / static_cast<double>(live.FullScaleRpm);
    case CurveInput::kBaroPressure:
      return (live.Baro - kBaroOffset) / kBaroSpan;
  }
  return 0;
}

}  // namespace ecu

#include "core/editors/supplementary_source.h"

#include <cmath>

#include "core/numbers/number_format.h"

namespace ecu {
namespace {

enum Source { kMap = 0, kTps = 1, kRpm = 2, kAux = 3 };

constexpr double kPercentSpan = 100;
constexpr double kAuxFullScale = 3.3;

}  // namespace

const std::array<SourceOption, kSourceCount>& SourceOptions() {
  static constexpr std::array<SourceOption, kSourceCount> kOptions = {{
      {"MAP Pressure",
       "Click to use the MAP output as the input into the Supplimental "
       "Driver Map."},
      {"TPS Position",
       "Click to use the TPS sensor as the input into the Supplimental "
       "Driver Map."},
      {"Engine RPM ",
       "Click to use the Engine RPM  as the input into the Supplimental "
       "Driver Map."},
      {"Aux Input",
       "Click to use the AUX input as the input into the Supplimental "
       "Driver Map."},
      {"Disabled", "Click to disable the Supplimental Driver Map."},
      {"100% if CLT >",
       "Click to drive the Supplimental Driver at 100% while the coolant is "
       "hotter than the threshold."},
  }};
  return kOptions;
}

SourceAxis AxisOfSource(int source, const LiveData& live) {
  switch (source) {
    case kMap:
      return {live.MapSpan, live.MapOffset, "MAP kPa"};
    case kTps:
      return {kPercentSpan, 0, "TPS %"};
    case kRpm:
      return {live.FullScaleRpm, 0, "RPM"};
    case kAux:
      return {kPercentSpan, 0, "AUX Volts %5v"};
    default:
      return {};
  }
}

std::vector<std::string> SourceAxisLabels(const SourceAxis& axis) {
  std::vector<std::string> labels;
  for (int k = 0; k < kSupplementaryPoints; ++k) {
    const double value =
        k / static_cast<double>(kSupplementaryPoints - 1) * axis.span +
        axis.offset;
    labels.push_back(FormatNumber(std::floor(value), "####0"));
  }
  return labels;
}

std::optional<double> SourceFraction(int source, const LiveData& live) {
  switch (source) {
    case kMap:
      return (live.MAP - live.MapOffset) / static_cast<double>(live.MapSpan);
    case kTps:
      return live.TPS / kPercentSpan;
    case kRpm:
      return live.RPM / static_cast<double>(live.FullScaleRpm);
    case kAux:
      return live.AuxVolts / kAuxFullScale;
    default:
      return std::nullopt;
  }
}

}  // namespace ecu

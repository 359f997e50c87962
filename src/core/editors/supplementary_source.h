#ifndef ECU_CORE_EDITORS_SUPPLEMENTARY_SOURCE_H_
#define ECU_CORE_EDITORS_SUPPLEMENTARY_SOURCE_H_

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/link/live_data.h"

namespace ecu {

// The inputs that can drive the supplementary output (SUPP_SRC): four map
// inputs, off, or full duty above a coolant temperature.
inline constexpr int kSourceCount = 6;
inline constexpr int kDisabledSource = 4;
inline constexpr int kSupplementaryPoints = 9;

struct SourceOption {
  std::string_view caption;
  std::string_view tip;
};
const std::array<SourceOption, kSourceCount>& SourceOptions();

// The axis of the duty map over a source: its points run from `offset` to
// offset + span. A source without a map has a flat axis at 0.
struct SourceAxis {
  double span = 0;
  double offset = 0;
  std::string_view unit = "No Map Source";
};
SourceAxis AxisOfSource(int source, const LiveData& live);

// The captions of the nine points, bottom to top, truncated to whole
// numbers.
std::vector<std::string> SourceAxisLabels(const SourceAxis& axis);

// Where the live value of the source stands on the axis (0 bottom point, 1
// top); nothing for a source without a map, whose pointer stays put.
std::optional<double> SourceFraction(int source, const LiveData& live);

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_SUPPLEMENTARY_SOURCE_H_

#ifndef ECU_CORE_ADVISOR_CALIBRATION_FOR_ADVICE_H_
#define ECU_CORE_ADVISOR_CALIBRATION_FOR_ADVICE_H_

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/advisor/map_advisor.h"
#include "core/workbench/calibration_snapshot.h"

namespace ecu {

// What the advisor takes from a whole calibration (a setup file or the
// ECU's): the fuel map's gains, the axes and the EGO set points. Unknown
// values stay unknown.
struct CalibrationForAdvice {
  std::array<std::optional<double>, kMapCellCount> map{};
  std::array<std::optional<double>, kEgoSetPointCount> ego_grid{};
  // Nothing when FS_RPM or MAP_TYPE is unknown: the cells cannot be placed.
  std::optional<MapAxes> axes;
  // OPTIONS unknown: the load is taken as the manifold pressure.
  bool load_known = true;
};
CalibrationForAdvice ForAdvice(const CalibrationSnapshot& calibration);

// The raw count the map keeps for a proposed gain.
int32_t MapRaw(double gain);

// A setup file's text with the fuel map lines of the changed cells
// rewritten; every other line (and every line end) as it was read.
std::string WithAdvisedMap(std::string_view setup_text, const Advice& advice);

// A complete setup file of the calibration with the advised map. Nothing
// when any value of the calibration is unknown.
std::optional<std::string> SetupTextWithAdvisedMap(
    const CalibrationSnapshot& calibration, const Advice& advice);

}  // namespace ecu

#endif  // ECU_CORE_ADVISOR_CALIBRATION_FOR_ADVICE_H_

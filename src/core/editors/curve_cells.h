#ifndef ECU_CORE_EDITORS_CURVE_CELLS_H_
#define ECU_CORE_EDITORS_CURVE_CELLS_H_

#include <array>
#include <string_view>
#include <vector>

#include "core/calibration/map_geometry.h"
#include "core/editors/cell_family.h"
#include "core/editors/editor_cell.h"

namespace ecu {

// The cells of "Additional Mapping" (frm_2d): eight curves of nine points
// and the EGO set-point grid. Grid cell i = 5 x column + row, columns along
// engine speed, rows along manifold pressure with row 0 at the bottom. The
// ECU keeps 24 set points, so the top right cell of the grid is no cell.
inline constexpr std::string_view kCoolantGains = "clt_map";
inline constexpr std::string_view kAirGains = "mat_data";
inline constexpr std::string_view kAuxGains = "Pressure_Gain";
inline constexpr std::string_view kMapRetards = "ign_map";
inline constexpr std::string_view kRpmRetards = "ign_rpm";
inline constexpr std::string_view kAirRetards = "ign_mat";
inline constexpr std::string_view kBaroGains = "baro_gain";
inline constexpr std::string_view kIdleSpeeds = "idle_rpm_map";
inline constexpr std::string_view kEgoSetPoints = "ego_map";
inline constexpr int kCurvePoints = 9;
inline constexpr int kCurveRowCount = 8;

// The engine value a curve runs over: it gives the axis labels and moves
// the curve's live marker.
enum class CurveInput {
  kCoolant,           // -13 to 115 C
  kAirTemperature,    // the same span
  kAuxVolts,          // 0 to 3.3 V
  kManifoldPressure,  // the MAP sensor's span above its offset
  kEngineSpeed,       // 0 to the tachometer's full scale
  kBaroPressure,      // 10 to 125 kPa
};
inline constexpr int kCurveInputCount = 6;

// One curve as the window shows it.
struct CurveRow {
  std::string_view family;
  std::string_view table_key;
  std::string_view caption;
  std::string_view axis_title;
  CurveInput input;
  std::string_view bar;  // the live marker's control name
  std::string_view tip;
};

// Top to bottom, as the window stacks them and the fill reads them.
const std::array<CurveRow, kCurveRowCount>& CurveRows();

// The EGO grid's texts and its two live markers.
inline constexpr std::string_view kEgoCaption = "EGO Lamda Setpoint";
inline constexpr std::string_view kEgoSpeedTitle = "Revs Per Minute";
inline constexpr std::string_view kEgoPressureTitle = "MAP [kPa]";
inline constexpr std::string_view kEgoSpeedBar = "rpm_bar";
inline constexpr std::string_view kEgoPressureBar = "map_bar";
inline constexpr std::string_view kEgoTip =
    "Higher numbers in this cell will cause the controller to run at a "
    "higher Lamda reading [Leaner] across this section of the map.";

// The nine cell families with their key rules: the eight curves in the
// order of CurveRows(), then the EGO grid.
std::vector<CellFamily> CurveFamilies();

// The update sends the curves point by point (for each point the three
// fuel gains, the three retards, the baro gain and the idle speed), then,
// after a pause, the EGO set points.
std::vector<CellRef> CurveUpdateOrder();
std::vector<CellRef> EgoUpdateOrder();

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_CURVE_CELLS_H_

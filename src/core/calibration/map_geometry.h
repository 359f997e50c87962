#ifndef ECU_CORE_CALIBRATION_MAP_GEOMETRY_H_
#define ECU_CORE_CALIBRATION_MAP_GEOMETRY_H_

#include <array>
#include <optional>
#include <span>
#include <string>

#include "core/link/live_data.h"

namespace ecu {

// The fuel map: cell i = 16 x column + row, columns along engine speed,
// rows along load, row 0 at the bottom.
inline constexpr int kMapColumns = 16;
inline constexpr int kMapRows = 16;
inline constexpr int kMapCellCount = kMapColumns * kMapRows;
// The EGO set-point grid: 5 x 5 boxes, index 5 x column + row, of which the
// top right one (24) holds no set point.
inline constexpr int kEgoGridSize = 5;
inline constexpr int kEgoSetPointCount = 24;

// The axes the maps are laid over, as the configuration sets them.
struct MapAxes {
  double full_scale_rpm = 10000;
  double map_span = 115;
  double map_offset = 10;
  bool tps_mapped = false;  // load is the throttle, not the pressure

  friend bool operator==(const MapAxes&, const MapAxes&) = default;
};

// The fuel map's axis captions as Basic Mapping writes them: the 17 grid
// lines of the load (bottom to top, whole kPa above the sensor's offset, or
// whole % TPS) and every second of the 17 speed lines (whole rev/min).
inline constexpr int kSpeedLabels = 9;
struct MapAxisLabels {
  std::array<std::string, kMapRows + 1> load;
  std::string load_unit;  // "kPa" or "% TPS"
  std::array<std::string, kSpeedLabels> speed;
};
MapAxisLabels AxisLabelsOf(const MapAxes& axes);

// The axes as the console's scaling has them now (set by the configuration
// block); whether the load is the throttle comes from OPTIONS.
MapAxes MapAxesOf(const LiveData& live, bool tps_mapped);

// An operating point as fractions of the axes: 0 at the first grid line,
// 1 at the last.
struct MapPoint {
  double speed = 0;
  double load = 0;
};

// Where the engine runs on the axes. A pressure below the sensor's offset
// counts as the offset; a missing full scale or span gives 0.
MapPoint PointOnAxes(double rpm, double map_kpa, double tps_percent,
                     const MapAxes& axes);

// The cell Basic Mapping marks as the live one: column and row are the
// whole sixteenths of speed and load, index 16 x column + row held within
// the map (so a load at the top of its axis lands on the bottom cell of the
// next column, as the console has always shown it).
int LiveCellIndex(MapPoint point);

// A cell and the share of a point's value it holds.
struct CellWeight {
  int index = 0;
  double weight = 0;
};

// The four fuel map cells around a point and their shares (bilinear, the
// shares sum to 1). A cell's value sits at the centre of its square, cell
// (c, r) at ((c + 0.5) / 16, (r + 0.5) / 16); beyond the outermost centres
// the edge cells hold. The engine model and the advisor both place a point
// with this one function, so they cannot disagree on where it belongs.
std::array<CellWeight, 4> FuelMapWeights(MapPoint point);

// The value of a 16 x 16 map at a point, from the same four cells.
double FuelMapValueAt(std::span<const double, kMapCellCount> cells,
                      MapPoint point);

// The EGO lambda set point at a point: set point (c, r) sits at speed c / 4
// and load r / 4 of the axes; bilinear between the four around. The top
// right box, which has no set point, counts as the mean of its two
// neighbours. Set points without a value are left out; nothing when none
// around the point has one.
std::optional<double> EgoSetPointAt(
    std::span<const std::optional<double>, kEgoSetPointCount> set_points,
    MapPoint point);

}  // namespace ecu

#endif  // ECU_CORE_CALIBRATION_MAP_GEOMETRY_H_

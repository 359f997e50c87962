#ifndef ECU_CORE_ADVISOR_GRID_CELLS_H_
#define ECU_CORE_ADVISOR_GRID_CELLS_H_

#include <array>
#include <span>
#include <string>

#include "core/calibration/map_geometry.h"
#include "core/editors/editor_colours.h"

namespace ecu {

// One cell of a read-only 16 x 16 map picture as a window shows it.
struct GridCell {
  std::string text;
  Rgb background = kBrightWhite;
  Rgb text_colour = kBlack;
  bool outlined = false;  // a heavy frame: the cell to look at
};
using MapGridCells = std::array<GridCell, kMapCellCount>;

// `share` (0..1) of the way from one colour to another.
Rgb BlendColour(Rgb from, Rgb to, double share);

// Samples per cell: the count in each visited cell, deeper blue for more.
MapGridCells HitCountGrid(std::span<const int, kMapCellCount> hits);

}  // namespace ecu

#endif  // ECU_CORE_ADVISOR_GRID_CELLS_H_

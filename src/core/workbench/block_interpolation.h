#ifndef ECU_CORE_WORKBENCH_BLOCK_INTERPOLATION_H_
#define ECU_CORE_WORKBENCH_BLOCK_INTERPOLATION_H_

#include <optional>
#include <vector>

#include "core/editors/block_selection.h"

namespace ecu {

// The values of a grid as the block modifier sees them: cell index =
// rows x column + row (the fuel map's 16 x column + row), nothing for a
// cell that holds no number.
struct GridValues {
  int columns = 0;
  int rows = 0;
  std::vector<std::optional<double>> cells;

  std::optional<double> at(int column, int row) const {
    return cells[static_cast<size_t>(rows * column + row)];
  }
};

enum class BlockShaping {
  kHorizontal,  // each row straight from the block's left to its right cell
  kVertical,    // each column straight from the block's bottom to its top
  kBilinear,    // every cell from the block's four corners
  kSmooth,      // a light 3 x 3 weighted average (1 2 1 / 2 4 2 / 1 2 1)
};

// The new values of the block's cells, by cell index; a cell keeps its
// value (and is left out) when what it is made from holds no number. The
// smoothing takes its neighbours from the whole grid, also outside the
// block, and weighs only those that exist and hold a number.
std::vector<std::pair<int, double>> ShapeBlock(const GridValues& grid,
                                               const BlockBounds& block,
                                               BlockShaping shaping);

}  // namespace ecu

#endif  // ECU_CORE_WORKBENCH_BLOCK_INTERPOLATION_H_

#include "core/editors/block_selection.h"

#include <algorithm>

namespace ecu {

BlockBounds BoundsOf(int corner_a, int corner_b, int columns, int rows) {
  const int column_a = corner_a / columns;
  const int column_b = corner_b / columns;
  const int row_a = corner_a % rows;
  const int row_b = corner_b % rows;
  return {std::min(column_a, column_b), std::max(column_a, column_b),
          std::min(row_a, row_b), std::max(row_a, row_b)};
}

bool InBlock(const BlockBounds& bounds, int index, int columns, int rows) {
  const int column = index / columns;
  const int row = index % rows;
  return column >= bounds.min_column && column <= bounds.max_column &&
         row >= bounds.min_row && row <= bounds.max_row;
}

void BlockSelection::ControlDown(int index, bool auto_repeat) {
  if (auto_repeat && first_corner_) return;
  first_corner_ = index;
}

bool BlockSelection::ControlUp(int index) {
  if (!first_corner_) return false;
  corners_[0] = *first_corner_;
  corners_[1] = index;
  first_corner_.reset();
  bounds_ = BoundsOf(corners_[0], corners_[1], columns_, rows_);
  return true;
}

}  // namespace ecu

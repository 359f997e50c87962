#ifndef ECU_CORE_EDITORS_BLOCK_SELECTION_H_
#define ECU_CORE_EDITORS_BLOCK_SELECTION_H_

#include <optional>

namespace ecu {

// A rectangle of grid cells, bounds included. Cell index = columns x column
// + row, as in the fuel map.
struct BlockBounds {
  int min_column = 0;
  int max_column = 0;
  int min_row = 0;
  int max_row = 0;
};

// The block between two corner cells of a grid of `columns` x `rows`.
BlockBounds BoundsOf(int corner_a, int corner_b, int columns, int rows);
bool InBlock(const BlockBounds& bounds, int index, int columns, int rows);

// The block of fuel map cells picked with the Ctrl key: pressed over one
// corner, held while the arrows move the focus, released over the other.
// Shared by the fuel map window and the block modifier.
class BlockSelection {
 public:
  static constexpr int kFuelMapGrid = 0;  // the only kind of grid in use

  BlockSelection(int columns, int rows) : columns_(columns), rows_(rows) {}

  // Ctrl went down over a cell. The platform repeats a held key: only the
  // first press sets the corner.
  void ControlDown(int index, bool auto_repeat);
  // Ctrl went up over a cell: true when that completes a block.
  bool ControlUp(int index);
  // Anything else done while Ctrl is held (a copy, a paste, a cell outside
  // the grid) is not a block selection.
  void Cancel() { first_corner_.reset(); }

  bool selecting() const { return first_corner_.has_value(); }
  const BlockBounds& bounds() const { return bounds_; }
  int first_corner() const { return corners_[0]; }
  int second_corner() const { return corners_[1]; }
  int columns() const { return columns_; }
  int rows() const { return rows_; }
  int kind() const { return kFuelMapGrid; }

 private:
  int columns_;
  int rows_;
  std::optional<int> first_corner_;  // while Ctrl is held
  int corners_[2] = {0, 0};          // of the last block
  BlockBounds bounds_;
};

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_BLOCK_SELECTION_H_

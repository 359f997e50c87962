#include "core/workbench/block_interpolation.h"

namespace ecu {
namespace {

// Where a cell lies between two ends, 0 at the first and 1 at the last; a
// block one cell wide has nothing between its ends.
double Share(int at, int first, int last) {
  return last == first ? 0.0 : static_cast<double>(at - first) / (last - first);
}

std::optional<double> Between(std::optional<double> a, std::optional<double> b,
                              double share) {
  if (!a || !b) return std::nullopt;
  return *a + (*b - *a) * share;
}

std::optional<double> Smoothed(const GridValues& grid, int column, int row) {
  static constexpr int kWeights[3][3] = {{1, 2, 1}, {2, 4, 2}, {1, 2, 1}};
  if (!grid.at(column, row)) return std::nullopt;
  double sum = 0;
  double weights = 0;
  for (int dc = -1; dc <= 1; ++dc) {
    for (int dr = -1; dr <= 1; ++dr) {
      const int c = column + dc;
      const int r = row + dr;
      if (c < 0 || c >= grid.columns || r < 0 || r >= grid.rows) continue;
      const std::optional<double> v = grid.at(c, r);
      if (!v) continue;
      const int w = kWeights[dc + 1][dr + 1];
      sum += w * *v;
      weights += w;
    }
  }
  return sum / weights;
}

}  // namespace

std::vector<std::pair<int, double>> ShapeBlock(const GridValues& grid,
                                               const BlockBounds& b,
                                               BlockShaping shaping) {
  std::vector<std::pair<int, double>> shaped;
  for (int c = b.min_column; c <= b.max_column; ++c) {
    for (int r = b.min_row; r <= b.max_row; ++r) {
      const double across = Share(c, b.min_column, b.max_column);
      const double up = Share(r, b.min_row, b.max_row);
      std::optional<double> value;
      switch (shaping) {
        case BlockShaping::kHorizontal:
          value = Between(grid.at(b.min_column, r), grid.at(b.max_column, r),
                          across);
          break;
        case BlockShaping::kVertical:
          value = Between(grid.at(c, b.min_row), grid.at(c, b.max_row), up);
          break;
        case BlockShaping::kBilinear:
          value = Between(Between(grid.at(b.min_column, b.min_row),
                                  grid.at(b.max_column, b.min_row), across),
                          Between(grid.at(b.min_column, b.max_row),
                                  grid.at(b.max_column, b.max_row), across),
                          up);
          break;
        case BlockShaping::kSmooth:
          value = Smoothed(grid, c, r);
          break;
      }
      if (value) shaped.emplace_back(grid.rows * c + r, *value);
    }
  }
  return shaped;
}

}  // namespace ecu

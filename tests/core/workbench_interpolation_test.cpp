#include <gtest/gtest.h>

#include <map>

#include "core/workbench/block_interpolation.h"

namespace ecu {
namespace {

// A 4 x 3 grid (columns x rows) from rows of text, top row first, as the
// map is seen; "-" for a cell without a number.
GridValues Grid(const std::vector<std::vector<const char*>>& top_first) {
  GridValues grid;
  grid.rows = static_cast<int>(top_first.size());
  grid.columns = static_cast<int>(top_first[0].size());
  grid.cells.resize(static_cast<size_t>(grid.rows * grid.columns));
  for (int r = 0; r < grid.rows; ++r) {
    for (int c = 0; c < grid.columns; ++c) {
      const std::string text = top_first[static_cast<size_t>(grid.rows - 1 - r)]
                                        [static_cast<size_t>(c)];
      if (text != "-") {
        grid.cells[static_cast<size_t>(grid.rows * c + r)] = std::stod(text);
      }
    }
  }
  return grid;
}

std::map<int, double> Shaped(const GridValues& grid, BlockBounds block,
                             BlockShaping shaping) {
  std::map<int, double> out;
  for (const auto& [index, value] : ShapeBlock(grid, block, shaping)) {
    out[index] = value;
  }
  return out;
}

const BlockBounds kWhole{0, 3, 0, 2};

TEST(BlockShapingTest, HorizontalAndVerticalRunStraightBetweenTheEdges) {
  const GridValues grid = Grid({{"2.0", "9", "9", "0.5"},
                                {"1.0", "9", "9", "1.6"},
                                {"1.0", "9", "9", "1.3"}});
  const auto across = Shaped(grid, kWhole, BlockShaping::kHorizontal);
  ASSERT_EQ(across.size(), 12u);
  EXPECT_DOUBLE_EQ(across.at(3 * 1 + 0), 1.1);  // bottom row, column 1
  EXPECT_DOUBLE_EQ(across.at(3 * 2 + 1), 1.4);  // middle row, column 2
  EXPECT_DOUBLE_EQ(across.at(3 * 1 + 2), 1.5);  // top row falls from 2.0
  EXPECT_DOUBLE_EQ(across.at(0), 1.0);          // the edges stay

  const GridValues columns = Grid(
      {{"1.8", "3", "-", "0"}, {"9", "9", "9", "9"}, {"1.0", "1", "1", "-"}});
  const auto up = Shaped(columns, kWhole, BlockShaping::kVertical);
  EXPECT_DOUBLE_EQ(up.at(1), 1.4);
  EXPECT_DOUBLE_EQ(up.at(3 * 1 + 1), 2.0);
  // A column whose end holds no number is left alone.
  EXPECT_FALSE(up.contains(3 * 2 + 1));
  EXPECT_FALSE(up.contains(3 * 3 + 1));
}

TEST(BlockShapingTest, BilinearFromTheFourCornersOfTheBlockOnly) {
  // The block is columns 1..3, rows 0..2; column 0 lies outside it.
  const GridValues grid = Grid({{"7", "1.2", "0", "2.0"},
                                {"7", "0", "0", "0"},
                                {"7", "0.8", "0", "1.2"}});
  const auto shaped =
      Shaped(grid, BlockBounds{1, 3, 0, 2}, BlockShaping::kBilinear);
  ASSERT_EQ(shaped.size(), 9u);
  EXPECT_FALSE(shaped.contains(0));
  EXPECT_DOUBLE_EQ(shaped.at(3 * 2 + 1), 1.3);  // the centre
  EXPECT_DOUBLE_EQ(shaped.at(3 * 2 + 0), 1.0);  // bottom edge, halfway
  EXPECT_DOUBLE_EQ(shaped.at(3 * 3 + 1), 1.6);  // right edge, halfway
  EXPECT_DOUBLE_EQ(shaped.at(3 * 1 + 2), 1.2);  // a corner stays
}

TEST(BlockShapingTest, SmoothingWeighsNeighboursInsideTheGrid) {
  const GridValues grid =
      Grid({{"1", "1", "1", "1"}, {"1", "2", "1", "-"}, {"1", "1", "1", "1"}});
  // The spike: (4 x 2 + 8 x 1 ... ) / 16 = 1.25.
  const auto one = Shaped(grid, BlockBounds{1, 1, 1, 1}, BlockShaping::kSmooth);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_DOUBLE_EQ(one.at(3 * 1 + 1), 1.25);
  // A corner cell of the grid has four neighbours of weights 4, 2, 2, 1;
  // the cell without a number stays out of the block and out of the sums.
  const auto all = Shaped(grid, kWhole, BlockShaping::kSmooth);
  EXPECT_DOUBLE_EQ(all.at(0), (4 + 2 + 2 + 2 * 1.0) / 9);
  EXPECT_FALSE(all.contains(3 * 3 + 1));
  EXPECT_DOUBLE_EQ(all.at(3 * 3 + 0), 1.0);
  // A flat grid stays flat.
  const auto flat = Shaped(Grid({{"1.5", "1.5"}, {"1.5", "1.5"}}),
                           BlockBounds{0, 1, 0, 1}, BlockShaping::kSmooth);
  for (const auto& [index, value] : flat) EXPECT_DOUBLE_EQ(value, 1.5);
}

}  // namespace
}  // namespace ecu

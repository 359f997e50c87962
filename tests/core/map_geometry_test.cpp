#include "core/calibration/map_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace ecu {
namespace {

// The shares of a point by cell, leaving out the cells without one.
std::map<int, double> Shares(MapPoint p) {
  std::map<int, double> shares;
  for (const CellWeight& w : FuelMapWeights(p)) {
    if (w.weight > 1e-12) shares[w.index] += w.weight;
  }
  return shares;
}

TEST(MapGeometryTest, FuelMapCellsSitAtTheirCentres) {
  // The centre of column 3, row 5 belongs to that cell alone.
  EXPECT_EQ(Shares({3.5 / 16, 5.5 / 16}), (std::map<int, double>{{53, 1.0}}));
  // Midway between four centres, a quarter each.
  EXPECT_EQ(
      Shares({4.0 / 16, 6.0 / 16}),
      (std::map<int, double>{{53, .25}, {54, .25}, {69, .25}, {70, .25}}));
  // A quarter of the way from column 3 to 4 along speed.
  const auto shares = Shares({3.75 / 16, 5.5 / 16});
  EXPECT_DOUBLE_EQ(shares.at(53), 0.75);
  EXPECT_DOUBLE_EQ(shares.at(69), 0.25);
  // Beyond the outer centres the edge cells hold: the corners and a point
  // far off the axes.
  EXPECT_EQ(Shares({0, 0}), (std::map<int, double>{{0, 1.0}}));
  EXPECT_EQ(Shares({1.2, 1.5}), (std::map<int, double>{{255, 1.0}}));
  EXPECT_EQ(Shares({1.0, 0.25 / 16}), (std::map<int, double>{{240, 1.0}}));
  EXPECT_EQ(Shares({std::nan(""), 0}), (std::map<int, double>{{0, 1.0}}));
}

TEST(MapGeometryTest, PointOnTheAxes) {
  const MapAxes axes{8000, 115, 10, false};
  const MapPoint p = PointOnAxes(2000, 67.5, 40, axes);
  EXPECT_DOUBLE_EQ(p.speed, 0.25);
  EXPECT_DOUBLE_EQ(p.load, 0.5);
  // Below the sensor's offset the pressure counts as the offset.
  EXPECT_DOUBLE_EQ(PointOnAxes(2000, 3, 40, axes).load, 0);
  EXPECT_DOUBLE_EQ(PointOnAxes(2000, 67.5, 40, {8000, 115, 10, true}).load,
                   0.4);
  EXPECT_DOUBLE_EQ(PointOnAxes(2000, 67.5, 40, {0, 0, 10, false}).speed, 0);
}

TEST(MapGeometryTest, EgoSetPointsInterpolateOverTheGrid) {
  std::array<std::optional<double>, kEgoSetPointCount> grid;
  for (int i = 0; i < kEgoSetPointCount; ++i) grid[i] = 1.0;
  grid[5 * 1 + 2] = 0.8;  // column 1 (speed 1/4), row 2 (load 1/2)
  EXPECT_DOUBLE_EQ(*EgoSetPointAt(grid, {0.25, 0.5}), 0.8);
  EXPECT_DOUBLE_EQ(*EgoSetPointAt(grid, {0.375, 0.5}), 0.9);
  EXPECT_DOUBLE_EQ(*EgoSetPointAt(grid, {0.375, 0.625}), 0.95);
  // The top right box has no set point: the mean of the two beside it.
  grid[19] = 1.2;
  grid[23] = 0.9;
  EXPECT_DOUBLE_EQ(*EgoSetPointAt(grid, {1.0, 1.0}), 1.05);
  EXPECT_DOUBLE_EQ(*EgoSetPointAt(grid, {2.0, 3.0}), 1.05);
  // A set point without a value is left out; none around gives nothing.
  grid[5 * 1 + 2] = std::nullopt;
  EXPECT_DOUBLE_EQ(*EgoSetPointAt(grid, {0.375, 0.5}), 1.0);
  EXPECT_FALSE(EgoSetPointAt(grid, {0.25, 0.5}).has_value());
}

}  // namespace
}  // namespace ecu

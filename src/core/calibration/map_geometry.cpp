#include "core/calibration/map_geometry.h"

#include <algorithm>
#include <cmath>

namespace ecu {
namespace {

// The two grid positions around `position` (in cells, fractional) and the
// share of the upper one, held within 0 .. count - 1.
struct Span {
  int low = 0;
  int high = 0;
  double upper_share = 0;
};

Span SpanOf(double position, int count) {
  if (!std::isfinite(position)) position = 0;
  const double held = std::clamp(position, 0.0, count - 1.0);
  Span span;
  span.low = std::min(static_cast<int>(std::floor(held)), count - 2);
  span.high = span.low + 1;
  span.upper_share = held - span.low;
  return span;
}

// Int() of a grid position, kept finite for a missing full scale.
int GridStep(double fraction, int count) {
  if (!std::isfinite(fraction)) return 0;
  return static_cast<int>(std::floor(std::clamp(fraction, -4.0, 4.0) * count));
}

}  // namespace

MapAxes MapAxesOf(const LiveData& live, bool tps_mapped) {
  return {live.FullScaleRpm, live.MapSpan, live.MapOffset, tps_mapped};
}

MapAxisLabels AxisLabelsOf(const MapAxes& axes) {
  // Int() truncates toward minus infinity.
  const auto whole = [](double value) {
    return std::to_string(static_cast<long long>(std::floor(value)));
  };
  MapAxisLabels labels;
  labels.load_unit = axes.tps_mapped ? "% TPS" : "kPa";
  for (int k = 0; k <= kMapRows; ++k) {
    const double fraction = k / static_cast<double>(kMapRows);
    labels.load[static_cast<size_t>(k)] =
        whole(axes.tps_mapped ? fraction * 100
                              : fraction * axes.map_span + axes.map_offset);
  }
  for (int k = 0; k < kSpeedLabels; ++k) {
    labels.speed[static_cast<size_t>(k)] =
        whole(k / (kSpeedLabels - 1.0) * axes.full_scale_rpm);
  }
  return labels;
}

int LiveCellIndex(MapPoint point) {
  return std::clamp(kMapRows * GridStep(point.speed, kMapColumns) +
                        GridStep(point.load, kMapRows),
                    0, kMapCellCount - 1);
}

MapPoint PointOnAxes(double rpm, double map_kpa, double tps_percent,
                     const MapAxes& axes) {
  MapPoint point;
  if (axes.full_scale_rpm > 0) point.speed = rpm / axes.full_scale_rpm;
  if (axes.tps_mapped) {
    point.load = tps_percent / 100.0;
  } else if (axes.map_span > 0) {
    point.load =
        (std::max(map_kpa, axes.map_offset) - axes.map_offset) / axes.map_span;
  }
  return point;
}

std::array<CellWeight, 4> FuelMapWeights(MapPoint point) {
  // Centres at (k + 0.5) / 16: in cell units the point sits at 16 x - 0.5.
  const Span c = SpanOf(point.speed * kMapColumns - 0.5, kMapColumns);
  const Span r = SpanOf(point.load * kMapRows - 0.5, kMapRows);
  const auto index = [](int column, int row) {
    return kMapRows * column + row;
  };
  return {{
      {index(c.low, r.low), (1 - c.upper_share) * (1 - r.upper_share)},
      {index(c.low, r.high), (1 - c.upper_share) * r.upper_share},
      {index(c.high, r.low), c.upper_share * (1 - r.upper_share)},
      {index(c.high, r.high), c.upper_share * r.upper_share},
  }};
}

double FuelMapValueAt(std::span<const double, kMapCellCount> cells,
                      MapPoint point) {
  double value = 0;
  for (const CellWeight& w : FuelMapWeights(point)) {
    value += w.weight * cells[static_cast<size_t>(w.index)];
  }
  return value;
}

std::optional<double> EgoSetPointAt(
    std::span<const std::optional<double>, kEgoSetPointCount> set_points,
    MapPoint point) {
  const auto at = [&](int column, int row) -> std::optional<double> {
    const int i = kEgoGridSize * column + row;
    if (i < kEgoSetPointCount) return set_points[static_cast<size_t>(i)];
    // The top right box: the mean of its neighbours below and to the left.
    const std::optional<double> below = set_points[kEgoSetPointCount - 1];
    const std::optional<double> left =
        set_points[static_cast<size_t>(kEgoGridSize * (column - 1) + row)];
    if (below && left) return (*below + *left) / 2;
    return below ? below : left;
  };
  // Set points on the grid lines, k / 4 of the axes.
  const Span c = SpanOf(point.speed * (kEgoGridSize - 1), kEgoGridSize);
  const Span r = SpanOf(point.load * (kEgoGridSize - 1), kEgoGridSize);
  const std::array<std::pair<std::optional<double>, double>, 4> corners = {{
      {at(c.low, r.low), (1 - c.upper_share) * (1 - r.upper_share)},
      {at(c.low, r.high), (1 - c.upper_share) * r.upper_share},
      {at(c.high, r.low), c.upper_share * (1 - r.upper_share)},
      {at(c.high, r.high), c.upper_share * r.upper_share},
  }};
  double sum = 0;
  double weight = 0;
  for (const auto& [value, share] : corners) {
    if (!value || share <= 0) continue;
    sum += *value * share;
    weight += share;
  }
  if (weight <= 0) return std::nullopt;
  return sum / weight;
}

}  // namespace ecu

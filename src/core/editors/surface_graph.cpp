#include "core/editors/surface_graph.h"

#include <algorithm>

#include "core/numbers/leading_number.h"
#include "core/numbers/rounding.h"

namespace ecu {
namespace {

int Round(double value) { return static_cast<int>(RoundHalfEven(value)); }

struct Point {
  int x;
  int y;
};

}  // namespace

SurfaceScale ScaleOf(const SurfaceSettings& view,
                     std::span<const double> values) {
  SurfaceScale s;
  s.low = LeadingNumber(view.low_scale);
  s.high = LeadingNumber(view.high_scale);
  const double first = values.empty() ? 0.0 : values.front();
  if (s.low == 0 && s.high == 0) {
    s.low = s.high = first;
    for (double v : values) {
      s.low = std::min(s.low, v);
      s.high = std::max(s.high, v);
    }
  }
  s.range = s.high - s.low;
  if (s.range == 0) {
    s.high = first + 1;
    s.low = first - 1;
    s.range = 2;
  }
  return s;
}

std::vector<Segment> SurfaceSegments(const SurfaceSettings& view, int width,
                                     int height, std::span<const double> values,
                                     std::span<const Rgb> colours, int columns,
                                     int rows) {
  std::vector<Segment> out;
  if (columns < 2 || rows < 2 ||
      values.size() < static_cast<size_t>(columns * rows) ||
      colours.size() < values.size()) {
    return out;
  }
  const SurfaceScale scale = ScaleOf(view, values);
  const double w = width;
  const double h = height;
  const int ox = Round(w * 0.025);
  const int oy = Round(h * 0.95);
  const int wx = Round(w * 0.65);
  const int hz = Round(h * 0.4);
  const int dx = Round(view.h_scroll / 100.0 * w * 0.5);
  const int dy = Round((100 - view.v_scroll) / 100.0 * h * 0.5);

  auto line = [&out](int x1, int y1, int x2, int y2, Rgb colour) {
    out.push_back({x1, y1, x2, y2, colour});
  };
  // The floor, then the three walls' uprights.
  line(ox, oy, ox + wx, oy, kGrey);
  line(ox, oy, ox + dx, oy - dy, kGrey);
  line(ox + dx, oy - dy, ox + wx + dx, oy - dy, kGrey);
  line(ox + wx + dx, oy - dy, ox + wx, oy, kGrey);
  line(ox, oy, ox, oy - hz, kGrey);
  line(ox + dx, oy - dy, ox + dx, oy - dy - hz, kGrey);
  line(ox + wx + dx, oy - dy, ox + wx + dx, oy - dy - hz, kGrey);
  // The height scale in tenths on the left and back walls.
  for (int k = 1; k <= 10; ++k) {
    const int z = Round(k / 10.0 * hz);
    line(ox, oy - z, ox + dx, oy - dy - z, kGrey);
    line(ox + dx, oy - dy - z, ox + dx + wx, oy - dy - z, kGrey);
  }

  // Engine speed along the front edge, load into the depth, value upwards.
  std::vector<Point> points(static_cast<size_t>(columns * rows));
  auto at = [&](int c, int r) -> Point& {
    return points[static_cast<size_t>(columns * c + r)];
  };
  for (int c = 0; c < columns; ++c) {
    for (int r = 0; r < rows; ++r) {
      const double v = values[static_cast<size_t>(columns * c + r)];
      const int percent = Round((v - scale.low) * 100 / scale.range);
      const double depth = static_cast<double>(r) / (rows - 1);
      at(c, r).x =
          Round(static_cast<double>(wx) * c / (columns - 1) + ox + dx * depth);
      at(c, r).y = Round(Round(oy - dy * depth) - hz * percent / 100.0);
    }
  }
  auto colour_of = [&](int c, int r) {
    return colours[static_cast<size_t>(columns * c + r)];
  };
  auto join = [&](int c1, int r1, int c2, int r2, Rgb colour) {
    line(at(c1, r1).x, at(c1, r1).y, at(c2, r2).x, at(c2, r2).y, colour);
  };
  for (int c = 0; c < columns - 1; ++c) {
    for (int r = 0; r < rows - 1; ++r) {
      join(c, r, c + 1, r, colour_of(c, r));
      join(c, r, c, r + 1, colour_of(c, r));
    }
  }
  for (int c = 0; c < columns - 1; ++c) {
    join(c, rows - 1, c + 1, rows - 1, colour_of(c, rows - 1));
  }
  for (int r = 0; r < rows - 1; ++r) {
    join(columns - 1, r, columns - 1, r + 1, colour_of(columns - 1, r));
  }
  return out;
}

void SurfaceGraph::set_h_scroll(int value) {
  view_.h_scroll = std::clamp(value, 0, 100);
  Redraw();
}

void SurfaceGraph::set_v_scroll(int value) {
  view_.v_scroll = std::clamp(value, 0, 100);
  Redraw();
}

void SurfaceGraph::set_high_scale(std::string text) {
  view_.high_scale = std::move(text);
  Redraw();
}

void SurfaceGraph::set_low_scale(std::string text) {
  view_.low_scale = std::move(text);
  Redraw();
}

void SurfaceGraph::Show() {
  shown_ = true;
  if (shown_changed_) shown_changed_();
  Redraw();
}

void SurfaceGraph::Hide() {
  if (!shown_) return;
  shown_ = false;
  if (shown_changed_) shown_changed_();
}

void SurfaceGraph::Close() {
  shown_ = false;
  view_ = SurfaceSettings();
  if (shown_changed_) shown_changed_();
}

void SurfaceGraph::MapChanged() {
  if (shown_) Redraw();
}

void SurfaceGraph::Redraw() {
  if (redraw_) redraw_();
}

}  // namespace ecu

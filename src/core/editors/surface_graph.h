#ifndef ECU_CORE_EDITORS_SURFACE_GRAPH_H_
#define ECU_CORE_EDITORS_SURFACE_GRAPH_H_

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/editors/editor_colours.h"

namespace ecu {

// One straight line of the drawing, in the drawing surface's own units.
struct Segment {
  int x1 = 0;
  int y1 = 0;
  int x2 = 0;
  int y2 = 0;
  Rgb colour;
  friend bool operator==(const Segment&, const Segment&) = default;
};

// How the surface is looked at: the two scroll bars (0..100) that shear the
// depth axis, and the map values at the floor and at the top of the scale,
// as typed (both 0: scaled to the map).
struct SurfaceSettings {
  static constexpr int kHorizontalDefault = 60;
  static constexpr int kVerticalDefault = 30;
  static constexpr std::string_view kHighDefault = "1.60";
  static constexpr std::string_view kLowDefault = "0.60";

  int h_scroll = kHorizontalDefault;  // HScroll1
  int v_scroll = kVerticalDefault;    // VScroll1, inverted
  std::string high_scale{kHighDefault};
  std::string low_scale{kLowDefault};
};

// The map values drawn at the floor and at the top; `range` may be negative
// (a low scale above the high one draws the surface upside down).
struct SurfaceScale {
  double low = 0;
  double high = 0;
  double range = 0;
};
SurfaceScale ScaleOf(const SurfaceSettings& view,
                     std::span<const double> values);

// The wire-frame drawing of a grid of `columns` x `rows` values (cell index
// columns x column + row) on a surface of width x height, in drawing order:
// the floor and walls, the height scale, then the surface, each of its
// segments in the colour of the cell it starts from.
std::vector<Segment> SurfaceSegments(const SurfaceSettings& view, int width,
                                     int height, std::span<const double> values,
                                     std::span<const Rgb> colours, int columns,
                                     int rows);

// The graph window's state: created on first use, redrawn on every change
// while it is shown.
class SurfaceGraph {
 public:
  const SurfaceSettings& view() const { return view_; }
  void set_h_scroll(int value);
  void set_v_scroll(int value);
  void set_high_scale(std::string text);
  void set_low_scale(std::string text);

  // "Show Graph": shown without blocking the map, and drawn.
  void Show();
  // Hidden with the fuel map window; the next showing keeps the settings.
  void Hide();
  // The close box unloads it: the next showing starts from the defaults.
  void Close();
  bool shown() const { return shown_; }
  // A map cell changed (outside the fill): redrawn when shown.
  void MapChanged();

  // Asks the window to draw again.
  void set_redraw(std::function<void()> f) { redraw_ = std::move(f); }
  // Asks the window to show or hide itself.
  void set_shown_changed(std::function<void()> f) {
    shown_changed_ = std::move(f);
  }

 private:
  void Redraw();

  SurfaceSettings view_;
  bool shown_ = false;
  std::function<void()> redraw_;
  std::function<void()> shown_changed_;
};

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_SURFACE_GRAPH_H_

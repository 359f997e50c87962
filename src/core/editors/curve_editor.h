#ifndef ECU_CORE_EDITORS_CURVE_EDITOR_H_
#define ECU_CORE_EDITORS_CURVE_EDITOR_H_

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/editors/curve_cells.h"
#include "core/editors/editor_context.h"
#include "core/editors/refilling_editor.h"

namespace ecu {

// The axis captions, written when the window fills itself: one set per
// curve (in the order of CurveRows()) and the EGO grid's two axes.
struct CurveAxes {
  std::array<std::vector<std::string>, kCurveRowCount> rows;
  std::vector<std::string> ego_speed;     // columns, left to right
  std::vector<std::string> ego_pressure;  // rows, bottom to top
};

// What the window redraws besides the cells.
struct CurveListener {
  std::function<void()> axes_changed;
  std::function<void()> live_changed;  // the marker bars
};

// The correction curve editor: the eight curves and the EGO set points,
// their fill on every activation, the update with its two steps, the
// per-table reset and the live marker bars.
class CurveEditor : public RefillingEditor {
 public:
  explicit CurveEditor(EditorContext ctx);

  void Fill() override;
  void Update() override;
  void RequestReset(std::string_view family) { cells().RequestReset(family); }

  // After each polling pass of this window: the marker bars follow the
  // engine.
  void AfterPollingPass();
  // Where the live value of `input` stands on its axis (0 first point, 1
  // last), as of the last pass.
  double marker(CurveInput input) const {
    return markers_[static_cast<size_t>(input)];
  }

  const CurveAxes& axes() const { return axes_; }

  void set_listener(CurveListener listener) { listener_ = std::move(listener); }

 private:
  void WriteAxes();

  EditorContext ctx_;
  CurveAxes axes_;
  std::array<double, kCurveInputCount> markers_{};
  CurveListener listener_;
};

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_CURVE_EDITOR_H_

#ifndef ECU_CORE_EDITORS_FUEL_MAP_EDITOR_H_
#define ECU_CORE_EDITORS_FUEL_MAP_EDITOR_H_

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/calibration/map_geometry.h"
#include "core/editors/block_modifier.h"
#include "core/editors/block_selection.h"
#include "core/editors/editor_context.h"
#include "core/editors/fuel_map_live.h"
#include "core/editors/surface_graph.h"
#include "core/editors/table_editor.h"
#include "core/link/window_activation.h"

namespace ecu {

// The cells of "Basic Mapping" (frm_3d). Map cell i = 16 x column + row:
// columns along engine speed, rows along load, row 0 at the bottom.
inline constexpr std::string_view kMapCells = "map_data";
inline constexpr std::string_view kCutInBox = "tps_rpm";
inline constexpr std::string_view kTpsPulseWidths = "tps_pw";
inline constexpr std::string_view kTpsPercents = "tps_percent";
inline constexpr int kTpsPoints = 9;
inline constexpr int kLegendBoxes = 8;

// The axis captions, written when the window fills itself.
struct FuelMapAxes {
  std::array<std::string, kMapRows + 1> load;   // bottom to top
  std::string load_unit = "kPa";                // or "% TPS"
  std::array<std::string, kSpeedLabels> speed;  // the grid's and the TPS rows'

  // The scaling they were written for.
  struct Scale {
    float full_scale_rpm = 0;
    float map_span = 0;
    float map_offset = 0;
    bool tps_mapped = false;
    friend bool operator==(const Scale&, const Scale&) = default;
  } scale;
};

// What the window redraws besides the cells.
struct FuelMapListener {
  std::function<void()> axes_changed;  // axis captions and legend
  std::function<void()> live_changed;  // read-outs and pointers
};

// The fuel map editor: the map, the injector adjustments, the TPS cut-in
// speed and the TPS mixing rows; its fill, update and reset; the value
// bands with their per-cell colour memory; the live operating point; and
// the block selection, block modifier and surface graph that work on the
// map.
class FuelMapEditor {
 public:
  explicit FuelMapEditor(EditorContext ctx);
  FuelMapEditor(const FuelMapEditor&) = delete;
  FuelMapEditor& operator=(const FuelMapEditor&) = delete;

  TableEditor& cells() { return cells_; }
  const TableEditor& cells() const { return cells_; }

  // The window was activated. Only the first activation fills it from the
  // ECU (once the link is idle); later ones keep what it shows. The axes
  // follow the scaling whenever it changed since they were written, as the
  // live cell does.
  void Activate();
  // The window was shown; once it is up it is activated.
  void Shown() {
    activation_.Shown([this] { Activate(); });
  }
  void Fill();
  // Reads the cells still unknown, and again while the user asks for it.
  void ReadUnknown();
  bool activated() const { return activated_; }
  // The window's close box destroys it: the next opening starts afresh.
  void Discard();
  // The window was hidden by exit or a switch: its companions go with it.
  void Hidden();

  // Keys in any cell; Ctrl pressed over one map cell and released over
  // another selects a block and opens the block modifier.
  KeyOutcome KeyPressed(CellRef ref, const EditorKeyPress& key);
  // Values put into map cells from beside the window (the map advisor),
  // as one edit: each marked changed like typing, for the next Update to
  // check and send; nothing is sent here.
  void PutMapTexts(const std::vector<std::pair<int, std::string>>& texts);
  void RequestUpdate() { cells_.RequestUpdate(); }
  void RequestReset() { cells_.RequestReset(kMapCells); }

  // After each polling pass of this window: read-outs and live cell.
  void AfterPollingPass();
  const FuelMapReadouts& readouts() const { return readouts_; }
  const OperatingPoint& operating_point() const { return point_; }

  const FuelMapAxes& axes() const { return axes_; }
  const std::array<std::string, kLegendBoxes>& legend() const {
    return legend_;
  }
  // The band colour each map cell was given when the map was read.
  const std::array<Rgb, kMapCellCount>& colour_memory() const {
    return colour_memory_;
  }
  // Colours the map cells by value bands (after the map is read).
  void ColourBands();

  // The map as numbers (a cell without one counts 0) and as a drawing.
  std::vector<double> MapValues() const;
  std::vector<Segment> SurfaceSegments(int width, int height) const;

  SurfaceGraph& graph() { return graph_; }
  const BlockSelection& selection() const { return selection_; }
  BlockModifier& modifier() { return modifier_; }

  void set_listener(FuelMapListener listener) {
    listener_ = std::move(listener);
  }

 private:
  bool TpsMapped() const;
  void WriteAxes();
  FuelMapAxes::Scale CurrentScale() const;
  void MarkLiveCell(int live_index);
  void ClearWindow();

  EditorContext ctx_;
  TableEditor cells_;
  WindowActivation activation_;
  bool activated_ = false;
  FuelMapAxes axes_;
  std::array<std::string, kLegendBoxes> legend_;
  std::array<Rgb, kMapCellCount> colour_memory_;
  FuelMapReadouts readouts_;
  OperatingPoint point_;
  BlockSelection selection_{kMapColumns, kMapRows};
  BlockModifier modifier_;
  SurfaceGraph graph_;
  FuelMapListener listener_;
};

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_FUEL_MAP_EDITOR_H_

#include "core/editors/fuel_map_editor.h"

#include <cmath>
#include <optional>
#include <tuple>

#include "core/calibration/calibration_requests.h"
#include "core/calibration/catalogue.h"
#include "core/editors/fuel_map_cells.h"
#include "core/editors/injector_adjustments.h"
#include "core/editors/value_bands.h"
#include "core/numbers/leading_number.h"

namespace ecu {
namespace {

// Before the map was ever read: the legend's design captions, and no band.
constexpr std::string_view kLegendDefault = "1.00";
constexpr Rgb kNoBand = kGrey;
constexpr double kFillPause = 0.2;

}  // namespace

FuelMapEditor::FuelMapEditor(EditorContext ctx)
    : ctx_(ctx),
      cells_(ctx, kFuelMapWindow),
      activation_(ctx.link, ctx.pump),
      modifier_(cells_, kMapCells, selection_, ctx.prompts) {
  for (CellFamily& family : FuelMapFamilies()) {
    cells_.AddFamily(std::move(family));
  }
  cells_.set_update_order(FuelMapUpdateOrder());
  cells_.set_update_pause(kFillPause);
  cells_.set_text_changed([this](CellRef ref) {
    if (ref.family == kMapCells && !cells_.loading()) graph_.MapChanged();
  });
  ClearWindow();
}

void FuelMapEditor::ClearWindow() {
  legend_.fill(std::string(kLegendDefault));
  colour_memory_.fill(kNoBand);
  readouts_ = FuelMapReadouts();
  point_ = OperatingPoint();
}

bool FuelMapEditor::TpsMapped() const {
  return (ctx_.image.scalar("OPTIONS") & 1) != 0;
}

void FuelMapEditor::Activate() {
  if (activated_) {
    if (axes_.scale != CurrentScale()) WriteAxes();
    // What the first fill could not read is read now; edits stay.
    if (cells_.UnknownCount() > 0) {
      activation_.FillWhenIdle([this] { ReadUnknown(); });
    }
    return;
  }
  activated_ = true;
  cells_.Subscribe();
  // Disabled at once: the reads may have to wait for a transaction.
  cells_.BeginFill();
  // Closed by its close box before the link was free: nothing to fill. A
  // window merely hidden meanwhile is still filled: it fills only once.
  activation_.FillWhenIdle([this] { Fill(); });
}

void FuelMapEditor::Fill() {
  activated_ = true;
  cells_.Subscribe();
  cells_.BeginFill();
  WriteAxes();
  for (const CellFamily& family : cells_.families()) {
    cells_.MarkUnread(family.name, true);
  }
  if (ctx_.demo_mode()) {
    for (const CellFamily& family : cells_.families()) {
      cells_.ShowDemoTexts(family.name);
    }
  }
  ctx_.pump.ProcessPending();
  EcuLink& link = ctx_.link;
  link.Pause(kFillPause);
  ReadInjectorAdjustments(link);
  std::ignore = ReadScalar(link, *FindScalar("TPS_RPM"));
  for (int i = 0; i < kMapCellCount; ++i) cells_.ReadFromEcu({kMapCells, i});
  ColourBands();
  for (int k = 0; k < kTpsPoints; ++k) {
    cells_.ReadFromEcu({kTpsPulseWidths, k});
    cells_.ReadFromEcu({kTpsPercents, k});
  }
  cells_.EndFill();
  if (cells_.OfferReadAgain()) ReadUnknown();
}

void FuelMapEditor::ReadUnknown() {
  do {
    cells_.BeginFill();
    cells_.ReadUnknownFromEcu();
    ColourBands();
    cells_.EndFill();
  } while (cells_.OfferReadAgain());
}

void FuelMapEditor::Discard() {
  activation_.Hidden();
  cells_.Unsubscribe();
  activated_ = false;
  for (const CellFamily& family : cells_.families()) {
    cells_.MarkUnread(family.name, true);
  }
  selection_.Cancel();
  modifier_.Close();
  graph_.Close();
  ClearWindow();
  if (listener_.axes_changed) listener_.axes_changed();
  if (listener_.live_changed) listener_.live_changed();
}

void FuelMapEditor::Hidden() {
  // Hidden before it was up: the next showing is its first activation.
  if (!activated_) activation_.Hidden();
  selection_.Cancel();
  if (modifier_.shown()) modifier_.Close();
  graph_.Hide();
}

FuelMapAxes::Scale FuelMapEditor::CurrentScale() const {
  const LiveData& live = ctx_.live;
  return {live.FullScaleRpm, live.MapSpan, live.MapOffset, TpsMapped()};
}

void FuelMapEditor::WriteAxes() {
  axes_.scale = CurrentScale();
  const MapAxisLabels labels =
      AxisLabelsOf(MapAxesOf(ctx_.live, axes_.scale.tps_mapped));
  axes_.load = labels.load;
  axes_.load_unit = labels.load_unit;
  axes_.speed = labels.speed;
  if (listener_.axes_changed) listener_.axes_changed();
}

void FuelMapEditor::ColourBands() {
  std::array<std::optional<double>, kMapCellCount> values;
  for (int i = 0; i < kMapCellCount; ++i) {
    const std::string& text = cells_.text({kMapCells, i});
    if (StartsWithNumber(text))
      values[static_cast<size_t>(i)] = LeadingNumber(text);
  }
  const ValueBands bands = ValueBands::Scan(values);
  for (int i = 0; i < kMapCellCount; ++i) {
    const std::optional<double>& v = values[static_cast<size_t>(i)];
    if (!v) continue;
    const Rgb colour = bands.ColourOf(*v);
    colour_memory_[static_cast<size_t>(i)] = colour;
    // A cell that never got its value keeps its mark.
    if (!cells_.cell({kMapCells, i}).changed()) {
      cells_.Paint({kMapCells, i}, colour);
    }
  }
  for (int box = 0; box < kLegendBoxes; ++box) {
    legend_[static_cast<size_t>(box)] = bands.LegendText(box);
  }
  if (listener_.axes_changed) listener_.axes_changed();
}

void FuelMapEditor::PutMapTexts(
    const std::vector<std::pair<int, std::string>>& texts) {
  TableEditor::EditGroup one_step(cells_);
  for (const auto& [index, text] : texts) {
    if (index >= 0 && index < kMapCellCount) {
      cells_.ReplaceText({kMapCells, index}, text);
    }
  }
}

KeyOutcome FuelMapEditor::KeyPressed(CellRef ref, const EditorKeyPress& key) {
  const bool in_map = ref.family == kMapCells;
  if (key.key == EditorKey::kControl) {
    if (!in_map) {
      selection_.Cancel();
    } else if (!key.release) {
      selection_.ControlDown(ref.index, key.auto_repeat);
    } else if (selection_.ControlUp(ref.index)) {
      modifier_.Open();
    }
    return {};
  }
  if (key.release) return {};
  const bool arrow = key.key == EditorKey::kUp || key.key == EditorKey::kDown ||
                     key.key == EditorKey::kLeft ||
                     key.key == EditorKey::kRight;
  // Ctrl+C or Ctrl+V in a cell is a copy or a paste, not a block.
  if (!arrow || key.shift) selection_.Cancel();
  return cells_.KeyPressed(ref, key);
}

void FuelMapEditor::AfterPollingPass() {
  RefreshReadouts(ctx_.live, readouts_);
  // A new full scale or sensor (from the configuration) moves the live
  // cell: the captions go with it.
  if (axes_.scale != CurrentScale()) WriteAxes();
  point_ = FindOperatingPoint(ctx_.live, TpsMapped());
  MarkLiveCell(point_.live_index);
  if (listener_.live_changed) listener_.live_changed();
}

void FuelMapEditor::MarkLiveCell(int live_index) {
  for (int i = 0; i < kMapCellCount; ++i) {
    const CellRef ref{kMapCells, i};
    const Rgb background = cells_.cell(ref).background;
    if (i != live_index && background == kLightCyan) {
      cells_.Paint(ref, kBrightWhite);
    }
  }
  const CellRef live{kMapCells, live_index};
  const Rgb background = cells_.cell(live).background;
  // A changed cell keeps its mark.
  if (background != kLightCyan && background != kChangedMark) {
    cells_.Paint(live, kLightCyan);
  }
}

std::vector<double> FuelMapEditor::MapValues() const {
  std::vector<double> values(kMapCellCount);
  for (int i = 0; i < kMapCellCount; ++i) {
    values[static_cast<size_t>(i)] = LeadingNumber(cells_.text({kMapCells, i}));
  }
  return values;
}

std::vector<Segment> FuelMapEditor::SurfaceSegments(int width,
                                                    int height) const {
  return ecu::SurfaceSegments(graph_.view(), width, height, MapValues(),
                              colour_memory_, kMapColumns, kMapRows);
}

}  // namespace ecu

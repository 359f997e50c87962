#include "core/editors/curve_editor.h"

#include "core/calibration/catalogue.h"
#include "core/editors/curve_axes.h"

namespace ecu {
namespace {

constexpr double kFillPause = 0.2;
// The curve window waits longer around its writes than the others.
constexpr double kUpdatePause = 0.4;

}  // namespace

CurveEditor::CurveEditor(EcuContext& ctx)
    : ctx_(ctx), cells_(ctx, kCurveWindow) {
  for (CellFamily& family : CurveFamilies()) {
    cells_.AddFamily(std::move(family));
  }
  WriteAxes();
}

void CurveEditor::Activate() {
  cells_.Subscribe();
  // Disabled at once: the reads may have to wait for a transaction.
  cells_.BeginFill();
  open_ = true;
  // Closed by its close box before the link was free: nothing to fill.
  cells_.WhenIdle([this] {
    if (open_) Fill();
  });
}

void CurveEditor::Fill() {
  cells_.Subscribe();
  cells_.BeginFill();
  EcuLink& link = ctx_.link;
  link.Pause(kFillPause);
  // The configuration block brings the full scale and MAP sensor that the
  // axes are labelled with.
  const ScalarItem& full_scale = *FindScalar("FS_RPM");
  link.SendCommand(std::string(1, static_cast<char>(full_scale.read_code)),
                   full_scale.read_length);
  for (const CellFamily& family : cells_.families()) {
    if (ctx_.link_state.demo_mode) {
      cells_.ShowDemoTexts(family.name);
    } else {
      cells_.MarkUnread(family.name, false);
    }
  }
  link.Pause(kFillPause);
  WriteAxes();
  for (const CellFamily& family : cells_.families()) {
    for (int i = 0; i < family.count; ++i) {
      cells_.ReadFromEcu({family.name, i});
    }
  }
  cells_.EndFill();
}

void CurveEditor::Discard() {
  open_ = false;
  cells_.Unsubscribe();
  for (const CellFamily& family : cells_.families()) {
    cells_.MarkUnread(family.name, true);
  }
}

KeyOutcome CurveEditor::KeyPressed(CellRef ref, const EditorKeyPress& key) {
  if (key.key == EditorKey::kEnter && !key.release) {
    RequestUpdate();
    return {.handled = true};
  }
  return cells_.KeyPressed(ref, key);
}

void CurveEditor::RequestUpdate() {
  cells_.WhenIdle([this] { Update(); });
}

void CurveEditor::Update() {
  EcuLink& link = ctx_.link;
  link.Pause(kUpdatePause);
  const bool curves_skipped = cells_.SendChangedCells(CurveUpdateOrder());
  link.Pause(kUpdatePause);
  const bool ego_skipped = cells_.SendChangedCells(EgoUpdateOrder());
  if (curves_skipped || ego_skipped) cells_.TellSkippedCells();
}

void CurveEditor::WriteAxes() {
  const LiveData& live = ctx_.live;
  for (size_t r = 0; r < CurveRows().size(); ++r) {
    axes_.rows[r] = CurveAxisLabels(CurveRows()[r].input, kCurvePoints, live);
  }
  axes_.ego_speed =
      CurveAxisLabels(CurveInput::kEngineSpeed, kEgoGridSize, live);
  axes_.ego_pressure =
      CurveAxisLabels(CurveInput::kManifoldPressure, kEgoGridSize, live);
  if (listener_.axes_changed) listener_.axes_changed();
}

void CurveEditor::AfterPollingPass() {
  for (int i = 0; i < kCurveInputCount; ++i) {
    markers_[static_cast<size_t>(i)] =
        LiveFraction(static_cast<CurveInput>(i), ctx_.live);
  }
  if (listener_.live_changed) listener_.live_changed();
}

}  // namespace ecu

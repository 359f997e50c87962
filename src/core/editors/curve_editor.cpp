#include "core/editors/curve_editor.h"

#include <tuple>

#include "core/calibration/calibration_requests.h"
#include "core/calibration/catalogue.h"
#include "core/editors/curve_axes.h"

namespace ecu {
namespace {

constexpr double kFillPause = 0.2;
// The curve window waits longer around its writes than the others.
constexpr double kUpdatePause = 0.4;

}  // namespace

CurveEditor::CurveEditor(EditorContext ctx)
    : RefillingEditor(ctx, kCurveWindow), ctx_(ctx) {
  for (CellFamily& family : CurveFamilies()) {
    cells().AddFamily(std::move(family));
  }
  WriteAxes();
}

void CurveEditor::Fill() {
  cells().Subscribe();
  cells().BeginFill();
  EcuLink& link = ctx_.link;
  link.Pause(kFillPause);
  // The configuration block brings the full scale and MAP sensor that the
  // axes are labelled with.
  std::ignore = ReadConfigurationBlock(link);
  for (const CellFamily& family : cells().families()) {
    if (ctx_.demo_mode()) {
      cells().ShowDemoTexts(family.name);
    } else {
      cells().MarkUnread(family.name, false);
    }
  }
  link.Pause(kFillPause);
  WriteAxes();
  for (const CellFamily& family : cells().families()) {
    for (int i = 0; i < family.count; ++i) {
      cells().ReadFromEcu({family.name, i});
    }
  }
  cells().EndFill();
}

void CurveEditor::Update() {
  EcuLink& link = ctx_.link;
  link.Pause(kUpdatePause);
  const bool curves_skipped = cells().SendChangedCells(CurveUpdateOrder());
  link.Pause(kUpdatePause);
  const bool ego_skipped = cells().SendChangedCells(EgoUpdateOrder());
  if (curves_skipped || ego_skipped) cells().TellSkippedCells();
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

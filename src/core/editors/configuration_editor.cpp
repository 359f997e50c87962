#include "core/editors/configuration_editor.h"

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/calibration/calibration_requests.h"
#include "core/calibration/catalogue.h"
#include "core/editors/configuration_fields.h"
#include "core/editors/configuration_layout.h"
#include "core/link/frame.h"

namespace ecu {
namespace {

constexpr double kFirstReadPause = 0.2;
constexpr double kReadPause = 0.1;
constexpr double kUpdatePause = 0.4;
constexpr double kCapturePause = 0.2;
constexpr std::string_view kOptionsUnknownMessage =
    "The Options could not be read from the ECU, they will not be updated "
    "until the window has read them";

// An RPM held as a fraction of the full scale (the rev limiter).
bool ScaledByFullScale(const UpdateStep& step) {
  if (step.kind != StepKind::kField) return false;
  const ScalarItem* item = ConfigurationFieldItem(step.control);
  return item != nullptr && item->scaling == Scaling::kRpmFraction;
}

}  // namespace

ConfigurationEditor::ConfigurationEditor(EditorContext ctx)
    : ctx_(ctx),
      fields_(ctx, kConfigurationWindow),
      activation_(ctx.link, ctx.pump) {
  for (CellFamily& family : ConfigurationFieldFamilies()) {
    fields_.AddFamily(std::move(family));
  }
  fields_.set_field_labels(ConfigurationFieldLabel);
}

void ConfigurationEditor::Activate() {
  fields_.Subscribe();
  switches_.Subscribe(ctx_.fields);
  // Disabled at once: the reads may have to wait for a transaction.
  fields_.BeginFill();
  // Hidden again before the link was free: nothing to fill.
  activation_.FillWhenIdle([this] { Fill(); });
}

void ConfigurationEditor::Fill() {
  do {
    ReadWindow();
  } while (fields_.OfferReadAgain(switches_.unknown_count()));
}

void ConfigurationEditor::ReadWindow() {
  fields_.Subscribe();
  switches_.Subscribe(ctx_.fields);
  fields_.BeginFill();
  switches_.MarkUnread(ctx_.master_mode);
  for (const CellFamily& family : fields_.families()) {
    fields_.MarkUnread(family.name, false);
  }
  EcuLink& link = ctx_.link;
  if (ctx_.demo_mode()) {
    // Only the fields with a demo text look confirmed; nothing is sent.
    for (const CellFamily& family : fields_.families()) {
      const std::string_view demo = family.scalars.front()->demo_text;
      if (!demo.empty())
        fields_.ShowConfirmed({family.name, 0}, std::string(demo));
    }
    switches_.ShowDemo();
  } else {
    link.Pause(kFirstReadPause);
    for (const uint8_t code : ConfigurationFillReads()) {
      std::ignore = link.SendCommand(Command(code));
      link.Pause(kReadPause);
    }
  }
  fields_.EndFill();
}

void ConfigurationEditor::Hidden() {
  activation_.Hidden();
  fields_.Unsubscribe();
  switches_.Unsubscribe();
}

KeyOutcome ConfigurationEditor::KeyPressed(CellRef ref,
                                           const EditorKeyPress& key) {
  if (key.release || key.key != EditorKey::kEnter ||
      !EnterUpdatesFrom(ref.family)) {
    return {};
  }
  RequestUpdate();
  return {.handled = true};
}

void ConfigurationEditor::KeyOnSwitch(SwitchRef ref,
                                      const EditorKeyPress& key) {
  if (!key.release && key.key == EditorKey::kEnter && ref.name == kTpsMapped) {
    RequestUpdate();
  }
}

void ConfigurationEditor::RequestUpdate() {
  fields_.WhenIdle([this] { Update(); });
}

bool ConfigurationEditor::StepMarked(const UpdateStep& step) const {
  switch (step.kind) {
    case StepKind::kField:
      return fields_.cell({step.control, 0}).changed();
    case StepKind::kPhaseRows:
      return switches_.any_row_marked();
    case StepKind::kMapType:
    case StepKind::kOptionsBox:
    case StepKind::kEgoType:
      break;
  }
  return switches_.marked({step.control, step.index});
}

void ConfigurationEditor::Update() {
  if (ctx_.demo_mode()) return;
  EcuLink& link = ctx_.link;
  link.Pause(kUpdatePause);
  // An RPM typed with a new full scale means an RPM of that full scale:
  // it goes after the full scale, converted with the one then in force.
  const bool new_full_scale = fields_.cell({kFullScaleField, 0}).changed();
  std::vector<const UpdateStep*> after_full_scale;
  bool skipped_text = false;
  options_refused_ = false;
  for (const UpdateStep& step : ConfigurationUpdateSteps()) {
    if (!StepMarked(step)) continue;
    if (new_full_scale && ScaledByFullScale(step)) {
      after_full_scale.push_back(&step);
      continue;
    }
    skipped_text = SendStep(step) || skipped_text;
    link.Pause(step.pause);
    if (step.control != kFullScaleField) continue;
    // A full scale the ECU took changes how every RPM field reads.
    if (!fields_.cell({kFullScaleField, 0}).changed()) {
      ReadBlockKeepingChanges();
      link.Pause(kReadPause);
    }
    for (const UpdateStep* rpm : after_full_scale) {
      skipped_text = SendStep(*rpm) || skipped_text;
      link.Pause(rpm->pause);
    }
  }
  if (skipped_text) fields_.TellSkippedCells();
}

bool ConfigurationEditor::SendStep(const UpdateStep& step) {
  switch (step.kind) {
    case StepKind::kField:
      return fields_.SendChangedCells({CellRef{step.control, 0}});
    case StepKind::kMapType:
      SendSwitchValue("MAP_TYPE", switches_.map_type());
      break;
    case StepKind::kOptionsBox:
      // Bits the ECU never reported would go out as 0.
      if (!switches_.options_known()) {
        if (!std::exchange(options_refused_, true)) {
          ctx_.prompts.Tell(std::string(kOptionsUnknownMessage));
        }
        break;
      }
      SendSwitchValue("OPTIONS", switches_.options_byte());
      break;
    case StepKind::kPhaseRows:
      SendPhaseRows();
      break;
    case StepKind::kEgoType:
      SendSwitchValue("EGO_FLGS", switches_.ego_type() == kNarrowEgo ? 0 : 1);
      break;
  }
  return false;
}

void ConfigurationEditor::SendSwitchValue(std::string_view key, int raw) {
  // The echo clears the mark; without one the control stays marked.
  std::ignore = WriteScalar(ctx_.link, *FindScalar(key), raw);
}

void ConfigurationEditor::SendPhaseRows() {
  const TableItem& table = *FindTable("PTBL");
  for (int p = 0; p < kPhaseRows; ++p) {
    if (!switches_.row_marked(p)) continue;
    std::ignore = WriteCell(ctx_.link, table, p, switches_.row_mask(p));
    ctx_.link.Pause(kReadPause);
  }
}

void ConfigurationEditor::ReadBlockKeepingChanges() {
  const ScalarItem& full_scale = *FindScalar("FS_RPM");
  std::vector<std::pair<CellRef, std::string>> typed;
  for (const CellFamily& family : fields_.families()) {
    const CellRef ref{family.name, 0};
    const EditorCell& cell = fields_.cell(ref);
    if (cell.changed() && !cell.text.empty() &&
        family.scalars.front()->read_code == full_scale.read_code) {
      typed.emplace_back(ref, cell.text);
    }
  }
  switches_.set_holding(true);
  std::ignore = ReadConfigurationBlock(ctx_.link);
  switches_.set_holding(false);
  for (auto& [ref, text] : typed) fields_.ReplaceText(ref, std::move(text));
}

void ConfigurationEditor::RequestTpsCapture(TpsEndPoint end) {
  fields_.WhenIdle([this, end] { CaptureTps(end); });
}

void ConfigurationEditor::CaptureTps(TpsEndPoint end) {
  const bool closed = end == TpsEndPoint::kClosed;
  // Emptied first: the field shows what the ECU captured, or stays marked
  // and empty (and so is not sent) when no answer comes.
  fields_.ReplaceText({closed ? kTpsClosedField : kTpsOpenField, 0}, "");
  std::ignore = ctx_.link.SendCommand(
      Command(closed ? kCaptureTpsClosed : kCaptureTpsOpen, 0, 0, 0));
  ctx_.link.Pause(kCapturePause);
}

}  // namespace ecu

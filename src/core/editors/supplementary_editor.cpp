#include "core/editors/supplementary_editor.h"

#include <tuple>

#include "core/calibration/calibration_requests.h"
#include "core/calibration/catalogue.h"
#include "core/numbers/leading_number.h"

namespace ecu {
namespace {

constexpr double kPause = 0.2;
constexpr int kDemoSource = 1;  // TPS Position
constexpr std::string_view kSourceKey = "SUPP_SRC";

CellFamily DutyCells() {
  CellFamily f;
  f.name = kDutyCells;
  f.count = kSupplementaryPoints;
  f.table = FindTable("SUPM");
  f.nudge = Nudge{.step = 0.1, .min = 0, .max = 100, .format = "###.00"};
  f.focus_colours = false;
  // Up and Down walk the column and stop at its ends.
  f.arrows = {.up = ArrowMove{.delta = 1}, .down = ArrowMove{.delta = -1}};
  return f;
}

CellFamily ThresholdBox() {
  CellFamily f;
  f.name = kCoolantThreshold;
  f.scalars = {FindScalar("COOL_DEG")};
  f.focus_colours = false;
  return f;
}

void ReadScalar(EcuLink& link, std::string_view key) {
  std::ignore = ecu::ReadScalar(link, *FindScalar(key));
}

std::vector<CellRef> AllOf(std::string_view family, int count) {
  std::vector<CellRef> refs;
  for (int i = 0; i < count; ++i) refs.push_back({family, i});
  return refs;
}

}  // namespace

SupplementaryEditor::SupplementaryEditor(EditorContext ctx)
    : RefillingEditor(ctx, kSupplementaryWindow), ctx_(ctx) {
  cells().AddFamily(DutyCells());
  cells().AddFamily(ThresholdBox());
  source_.text_colours.fill(kPlainText);
  Relabel();
}

void SupplementaryEditor::Subscribe() {
  cells().Subscribe();
  if (!subscriptions_.empty()) return;
  // The source's reply and echo select the ECU's option and set m_src.
  subscriptions_.push_back(ctx_.fields.Subscribe(
      kSupplementaryWindow, "supp_source", [this](const FieldUpdate& update) {
        const bool known = update.raw >= 0 && update.raw < kSourceCount;
        ShowSource(known ? std::optional<int>(update.raw) : std::nullopt,
                   kPlainText);
      }));
  subscriptions_.push_back(ctx_.fields.Subscribe(
      kSupplementaryWindow, "m_src",
      [this](const FieldUpdate& update) { SetSourceNumber(update.text); }));
}

void SupplementaryEditor::Fill() {
  Subscribe();
  cells().BeginFill();
  ShowSource(std::nullopt, kChangedMark);
  const bool demo = ctx_.demo_mode();
  for (const CellFamily& family : cells().families()) {
    if (demo) {
      cells().ShowDemoTexts(family.name);
    } else {
      cells().MarkUnread(family.name, false);
    }
  }
  ctx_.pump.ProcessPending();
  EcuLink& link = ctx_.link;
  link.Pause(kPause);
  SetSourceNumber(std::to_string(kDisabledSource));
  if (demo) {
    ShowSource(kDemoSource, kPlainText);
    SetSourceNumber(std::to_string(kDemoSource));
  } else {
    ReadScalar(link, kSourceKey);
  }
  // Setting m_src relabelled the axis.
  link.Pause(kPause);
  for (int k = 0; k < kSupplementaryPoints; ++k) {
    cells().ReadFromEcu({kDutyCells, k});
  }
  ReadScalar(link, "COOL_DEG");
  cells().EndFill();
}

void SupplementaryEditor::Discarded() {
  subscriptions_.clear();
  ShowSource(std::nullopt, kChangedMark);
}

void SupplementaryEditor::Update() {
  EcuLink& link = ctx_.link;
  link.Pause(kPause);
  const bool map_skipped =
      cells().SendChangedCells(AllOf(kDutyCells, kSupplementaryPoints));
  link.Pause(kPause);
  // Only a choice made here is sent: while the ECU's own choice is unread
  // no option is set, and nothing goes out for the source.
  if (source_.selected &&
      source_.text_colours[static_cast<size_t>(*source_.selected)] ==
          kChangedMark) {
    // The echo clears the mark; without one the choice stays marked.
    std::ignore = WriteScalar(link, *FindScalar(kSourceKey), *source_.selected);
  }
  const bool threshold_skipped =
      cells().SendChangedCells(AllOf(kCoolantThreshold, 1));
  if (map_skipped || threshold_skipped) cells().TellSkippedCells();
}

void SupplementaryEditor::ChooseSource(int source) {
  if (source < 0 || source >= kSourceCount) return;
  ShowSource(source, kPlainText);
  source_.text_colours[static_cast<size_t>(source)] = kChangedMark;
  SetSourceNumber(std::to_string(source));
}

void SupplementaryEditor::ShowSource(std::optional<int> selected,
                                     Rgb text_colour) {
  source_.selected = selected;
  source_.text_colours.fill(text_colour);
  SourceChanged();
}

void SupplementaryEditor::SetSourceNumber(std::string text) {
  source_.m_src = std::move(text);
  Relabel();
  SourceChanged();
}

int SupplementaryEditor::SourceNumber() const {
  return StartsWithNumber(source_.m_src)
             ? static_cast<int>(LeadingNumber(source_.m_src))
             : kDisabledSource;
}

void SupplementaryEditor::Relabel() {
  const SourceAxis axis = AxisOfSource(SourceNumber(), ctx_.live);
  source_.source_units = std::string(axis.unit);
  source_.labels = SourceAxisLabels(axis);
}

void SupplementaryEditor::SourceChanged() {
  if (listener_.source_changed) listener_.source_changed();
}

void SupplementaryEditor::AfterPollingPass() {
  if (const std::optional<double> fraction =
          SourceFraction(SourceNumber(), ctx_.live)) {
    pointer_ = fraction;
  }
  if (listener_.live_changed) listener_.live_changed();
}

}  // namespace ecu

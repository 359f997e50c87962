#include "core/editors/table_editor.h"

#include <set>
#include <string>
#include <tuple>

#include "core/calibration/calibration_requests.h"
#include "core/editors/entry_check.h"
#include "core/numbers/leading_number.h"

namespace ecu {
namespace {

constexpr std::string_view kNotANumberMessage =
    "A cell that does not hold a number has been found, it will not be "
    "updated";

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(" \t") == std::string_view::npos;
}

}  // namespace

TableEditor::TableEditor(EditorContext ctx, std::string_view window)
    : ctx_(ctx), window_(window) {}

void TableEditor::AddFamily(CellFamily family) {
  cells_.emplace_back(static_cast<size_t>(family.count));
  families_.push_back(std::move(family));
}

int TableEditor::FamilyIndex(std::string_view name) const {
  for (size_t f = 0; f < families_.size(); ++f) {
    if (families_[f].name == name) return static_cast<int>(f);
  }
  return -1;
}

const CellFamily* TableEditor::FindFamily(std::string_view name) const {
  const int f = FamilyIndex(name);
  return f < 0 ? nullptr : &families_[static_cast<size_t>(f)];
}

bool TableEditor::Contains(CellRef ref) const {
  const CellFamily* family = FindFamily(ref.family);
  return family != nullptr && ref.index >= 0 && ref.index < family->count;
}

const EditorCell& TableEditor::cell(CellRef ref) const {
  return cells_[static_cast<size_t>(FamilyIndex(ref.family))]
               [static_cast<size_t>(ref.index)];
}

EditorCell& TableEditor::MutableCell(CellRef ref) {
  return const_cast<EditorCell&>(cell(ref));
}

void TableEditor::Changed(CellRef ref) {
  if (listener_.cell_changed) listener_.cell_changed(ref);
}

void TableEditor::SetText(CellRef ref, std::string text, Rgb background,
                          bool known) {
  if (!Contains(ref)) return;
  EditorCell& c = MutableCell(ref);
  const bool text_differs = c.text != text;
  c.text = std::move(text);
  c.background = background;
  c.known = known;
  Changed(ref);
  if (text_differs && text_changed_) text_changed_(ref);
}

void TableEditor::SetByTuner(CellRef ref, std::string text, bool typing) {
  if (!Contains(ref)) return;
  if (recording_) {
    history_.Record(ref,
                    {cell(ref).text, cell(ref).background, cell(ref).known},
                    text, typing);
  }
  SetText(ref, std::move(text), kChangedMark, true);
}

void TableEditor::Edited(CellRef ref, std::string text) {
  SetByTuner(ref, std::move(text), /*typing=*/true);
}

void TableEditor::ReplaceText(CellRef ref, std::string text) {
  SetByTuner(ref, std::move(text), /*typing=*/false);
}

void TableEditor::ShowConfirmed(CellRef ref, std::string text) {
  history_.Confirmed(ref, text);
  SetText(ref, std::move(text), kConfirmedMark, true);
}

void TableEditor::PutBack(const std::vector<CellChange>& changes,
                          bool undoing) {
  for (const CellChange& change : changes) {
    // A value never read comes back unknown, as it was: never sent.
    if (undoing && !change.before.known) {
      SetText(change.ref, change.before.text, change.before.background, false);
      continue;
    }
    const std::string& text = undoing ? change.before.text : change.after;
    // White only where the ECU holds this very text; else marked for the
    // next Update.
    const bool held = history_.ConfirmedText(change.ref) == text;
    // Back as it was where it agreed (a fuel map cell in its value band),
    // white as an echo paints it otherwise.
    const bool agreed_before =
        undoing && change.before.background != kChangedMark;
    SetText(change.ref, text,
            !held           ? kChangedMark
            : agreed_before ? change.before.background
                            : kConfirmedMark,
            true);
  }
}

void TableEditor::Undo() { PutBack(history_.Undo(), /*undoing=*/true); }

void TableEditor::Redo() { PutBack(history_.Redo(), /*undoing=*/false); }

void TableEditor::Paint(CellRef ref, Rgb background) {
  if (!Contains(ref)) return;
  MutableCell(ref).background = background;
  Changed(ref);
}

void TableEditor::FocusChanged(CellRef ref, bool has_focus) {
  const CellFamily* family = FindFamily(ref.family);
  if (family == nullptr || !family->focus_colours || !Contains(ref)) return;
  MutableCell(ref).text_colour = has_focus ? kFocusText : kPlainText;
  if (!has_focus) history_.CloseTyping();
  Changed(ref);
}

KeyOutcome TableEditor::KeyPressed(CellRef ref, const EditorKeyPress& key) {
  const CellFamily* family = FindFamily(ref.family);
  if (family == nullptr || key.release) return {};
  const bool vertical =
      key.key == EditorKey::kUp || key.key == EditorKey::kDown;
  if (key.key == EditorKey::kEnter) {
    RequestUpdate();
    return {.handled = true};
  }
  if (key.key == EditorKey::kUndo || key.key == EditorKey::kRedo) {
    key.key == EditorKey::kUndo ? Undo() : Redo();
    return {.handled = true};
  }
  if (key.shift) {
    if (!vertical || !family->nudge) return {};
    const int direction = key.key == EditorKey::kUp ? 1 : -1;
    ReplaceText(ref,
                NudgedText(*family->nudge, text(ref), direction, ctx_.live));
    return {.handled = true};
  }
  const std::optional<CellRef> target =
      ArrowTarget(*family, ref.index, key.key);
  if (!target) return {};
  return {.handled = true, .focus = target};
}

void TableEditor::MarkUnread(std::string_view family, bool empty_text) {
  const CellFamily* f = FindFamily(family);
  if (f == nullptr) return;
  for (int i = 0; i < f->count; ++i) {
    const CellRef ref{f->name, i};
    SetText(ref, empty_text ? std::string() : text(ref), kChangedMark, false);
  }
}

void TableEditor::ShowDemoTexts(std::string_view family) {
  const CellFamily* f = FindFamily(family);
  if (f == nullptr) return;
  for (int i = 0; i < f->count; ++i) {
    std::string_view demo;
    if (f->table != nullptr) {
      demo = f->table->demo_text;
    } else if (static_cast<size_t>(i) < f->scalars.size()) {
      demo = f->scalars[static_cast<size_t>(i)]->demo_text;
    }
    ShowConfirmed({f->name, i}, std::string(demo));
  }
}

void TableEditor::ReadFromEcu(CellRef ref) {
  const CellFamily* family = FindFamily(ref.family);
  if (family == nullptr || family->table == nullptr) return;
  std::ignore = ReadCell(ctx_.link, *family->table, ref.index);
}

void TableEditor::Subscribe() {
  if (subscribed()) return;
  for (const CellFamily& family : families_) {
    if (family.table == nullptr && family.scalars.empty()) continue;
    const std::string_view name = family.name;
    subscriptions_.push_back(ctx_.fields.Subscribe(
        window_, name, [this, name](const FieldUpdate& update) {
          const int index = update.index == kNoIndex ? 0 : update.index;
          ShowConfirmed({name, index}, update.text);
        }));
  }
}

void TableEditor::Unsubscribe() { subscriptions_.clear(); }

void TableEditor::WhenIdle(std::function<void()> action) {
  std::weak_ptr<int> alive = alive_;
  ctx_.link.RunWhenIdle([alive, action = std::move(action)] {
    if (!alive.expired()) action();
  });
}

void TableEditor::RequestUpdate() {
  WhenIdle([this] { Update(); });
}

void TableEditor::Update() {
  EcuLink& link = ctx_.link;
  link.Pause(update_pause_);
  // A copy: an echo arriving mid-pass may not change the order, but a
  // window may.
  const bool skipped_text = SendChangedCells(update_order_);
  link.Pause(update_pause_);
  if (skipped_text) TellSkippedCells();
}

bool TableEditor::SendChangedCells(std::vector<CellRef> cells) {
  // Texts the update corrects (a value held to its limit) are the
  // console's doing, not a step of the tuner's.
  const bool recording = recording_;
  recording_ = false;
  bool skipped_text = false;
  for (const CellRef& ref : cells) {
    if (!Contains(ref) || !cell(ref).changed() || !cell(ref).known) continue;
    // A cell whose reply never came is empty: there is nothing to send.
    if (IsBlank(text(ref))) continue;
    if (!StartsWithNumber(text(ref))) {
      skipped_text = true;
      continue;
    }
    SendCell(ref);
  }
  recording_ = recording;
  return skipped_text;
}

void TableEditor::TellSkippedCells() {
  ctx_.prompts.Tell(std::string(kNotANumberMessage));
}

void TableEditor::SendCell(CellRef ref) {
  const CellFamily& family = *FindFamily(ref.family);
  const ScalarItem* scalar =
      static_cast<size_t>(ref.index) < family.scalars.size()
          ? family.scalars[static_cast<size_t>(ref.index)]
          : nullptr;
  if (family.table == nullptr && scalar == nullptr) return;
  const std::string_view label =
      field_labels_ ? field_labels_(family.name) : std::string_view();
  const EntryDecision decision =
      family.table != nullptr
          ? DecideEntry(text(ref), *family.table, ctx_.live, label)
          : DecideEntry(text(ref), *scalar, ctx_.live, label);
  if (decision.new_text) ReplaceText(ref, *decision.new_text);
  if (!decision.notice.empty()) ctx_.prompts.Tell(decision.notice);
  if (!decision.send) {
    ctx_.prompts.Tell(decision.refusal);
    return;
  }
  if (!decision.question.empty()) {
    Message question;
    question.text = decision.question;
    question.buttons = Buttons::kYesNoCancel;
    question.icon = Icon::kQuestion;
    // Yes writes something unusual (extra priming pulses): Enter says No.
    question.default_button = 1;
    if (ctx_.prompts.Show(question) != Answer::kYes) return;
  }
  // The echo paints the cell white; without one it stays marked.
  const CommandOutcome outcome =
      family.table != nullptr
          ? WriteCell(ctx_.link, *family.table, ref.index, decision.raw)
          : WriteScalar(ctx_.link, *scalar, decision.raw);
  if (!outcome.answered() && outcome.result != CommandResult::kDemo) {
    history_.Unconfirmed(ref);
  }
}

void TableEditor::RequestReset(std::string_view family) {
  const CellFamily* f = FindFamily(family);
  if (f == nullptr) return;
  const std::string_view name = f->name;
  WhenIdle([this, name] { ConfirmAndReset(name); });
}

bool TableEditor::ConfirmAndReset(std::string_view family) {
  const CellFamily* f = FindFamily(family);
  if (f == nullptr || f->table == nullptr || f->table->reset_text.empty()) {
    return false;
  }
  Message question;
  question.title = "CAUTION!";
  question.text = "this function will overwrite the table, continue?";
  question.buttons = Buttons::kYesNo;
  question.icon = Icon::kExclamation;
  question.default_button = 1;
  if (ctx_.prompts.Show(question) != Answer::kYes) return false;
  EditGroup reset(*this);
  for (int i = 0; i < f->count; ++i) {
    ReplaceText({f->name, i}, std::string(f->table->reset_text));
  }
  return true;
}

void TableEditor::BeginFill() {
  history_.Clear();
  loading_ = true;
  enabled_ = false;
  if (listener_.state_changed) listener_.state_changed();
}

void TableEditor::EndFill() {
  for (const CellFamily& family : families_) {
    for (int i = 0; i < family.count; ++i) {
      const CellRef ref{family.name, i};
      if (!cell(ref).known && !text(ref).empty()) {
        SetText(ref, "", kChangedMark, false);
      }
    }
  }
  enabled_ = true;
  loading_ = false;
  if (listener_.state_changed) listener_.state_changed();
}

int TableEditor::UnknownCount() const {
  int count = 0;
  for (const CellFamily& family : families_) {
    for (int i = 0; i < family.count; ++i) {
      if (!cell({family.name, i}).known) ++count;
    }
  }
  return count;
}

bool TableEditor::OfferReadAgain(int other_unknown) {
  const int count = UnknownCount() + other_unknown;
  // A port that went away has been told once already; the window reads
  // again when it is next activated.
  if (count == 0 || ctx_.demo_mode() || !ctx_.link.port().IsOpen()) {
    return false;
  }
  Message question;
  question.text = count == 1
                      ? std::string(
                            "1 value could not be read from the ECU. It is "
                            "shown empty and will not be sent unless you "
                            "enter it.")
                      : std::to_string(count) +
                            " values could not be read from the ECU. They are "
                            "shown empty and will not be sent unless you enter "
                            "them.";
  question.text += "\nRead them again now?";
  question.buttons = Buttons::kYesNo;
  question.icon = Icon::kExclamation;
  // A dead line makes every read wait out its retries: Enter says No, and
  // the window reads again when it is next activated.
  question.default_button = 1;
  return ctx_.prompts.Show(question) == Answer::kYes;
}

void TableEditor::ReadUnknownFromEcu() {
  std::set<uint8_t> scalar_reads;
  for (const CellFamily& family : families_) {
    for (int i = 0; i < family.count; ++i) {
      if (cell({family.name, i}).known) continue;
      if (family.table != nullptr) {
        std::ignore = ReadCell(ctx_.link, *family.table, i);
        continue;
      }
      const auto index = static_cast<size_t>(i);
      if (index >= family.scalars.size()) continue;
      // One read brings every item of its block.
      const ScalarItem& item = *family.scalars[index];
      if (scalar_reads.insert(item.read_code).second) {
        std::ignore = ReadScalar(ctx_.link, item);
      }
    }
  }
}

}  // namespace ecu

#include "core/workbench/edit_history.h"

namespace ecu {
namespace {

std::pair<std::string, int> Key(CellRef ref) {
  return {std::string(ref.family), ref.index};
}

}  // namespace

void EditHistory::Add(CellRef ref, const CellState& before,
                      const std::string& after) {
  Step& step = undo_.back();
  for (CellChange& edit : step) {
    if (edit.ref == ref) {
      edit.after = after;  // the first before stays
      return;
    }
  }
  step.push_back({ref, before, after});
}

void EditHistory::Record(CellRef ref, const CellState& before,
                         const std::string& after, bool typing) {
  // Even the same text is a step: it marked the cell changed.
  redo_.clear();
  if (group_depth_ > 0) {
    if (!group_started_) {
      undo_.emplace_back();
      group_started_ = true;
    }
  } else if (!(typing && typing_ == ref)) {
    undo_.emplace_back();
  }
  typing_ = typing ? std::optional<CellRef>(ref) : std::nullopt;
  Add(ref, before, after);
}

void EditHistory::BeginGroup() {
  if (group_depth_++ == 0) {
    group_started_ = false;
    typing_ = std::nullopt;
  }
}

void EditHistory::EndGroup() {
  if (group_depth_ > 0) --group_depth_;
}

void EditHistory::Confirmed(CellRef ref, const std::string& text) {
  confirmed_[Key(ref)] = text;
  // An echo ends the entry it confirms; typing on starts a new step.
  if (typing_ == ref) typing_ = std::nullopt;
}

void EditHistory::Unconfirmed(CellRef ref) { confirmed_.erase(Key(ref)); }

std::optional<std::string> EditHistory::ConfirmedText(CellRef ref) const {
  const auto found = confirmed_.find(Key(ref));
  if (found == confirmed_.end()) return std::nullopt;
  return found->second;
}

std::vector<CellChange> EditHistory::MoveStep(std::vector<Step>& from,
                                              std::vector<Step>& to) {
  typing_ = std::nullopt;
  if (from.empty()) return {};
  to.push_back(std::move(from.back()));
  from.pop_back();
  return to.back();
}

std::vector<CellChange> EditHistory::Undo() { return MoveStep(undo_, redo_); }

std::vector<CellChange> EditHistory::Redo() { return MoveStep(redo_, undo_); }

void EditHistory::Clear() {
  undo_.clear();
  redo_.clear();
  typing_ = std::nullopt;
  confirmed_.clear();
}

}  // namespace ecu

#include "core/workbench/compare_model.h"

#include <algorithm>
#include <cmath>

#include "core/calibration/scaling.h"
#include "core/workbench/calibration_copy.h"
#include "core/workbench/ecu_snapshot.h"

namespace ecu {
namespace {

constexpr size_t kProblemsTold = 10;
constexpr Rgb kUnknownColour{200, 200, 200};

std::string FileName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ProblemText(const CalibrationSnapshot& snapshot) {
  std::string text = std::to_string(snapshot.problems.size()) + " line" +
                     (snapshot.problems.size() == 1 ? "" : "s") + " of " +
                     snapshot.source +
                     " name no calibration item and were left out:";
  for (size_t i = 0; i < snapshot.problems.size() && i < kProblemsTold; ++i) {
    const SnapshotProblem& p = snapshot.problems[i];
    text += "\nline " + std::to_string(p.line) + ": " + p.reason;
  }
  if (snapshot.problems.size() > kProblemsTold) {
    text += "\n...";
  }
  return text;
}

}  // namespace

Rgb DifferenceColour(double delta, double largest) {
  if (delta == 0 || largest <= 0) return kBrightWhite;
  // A faint tint even for the smallest difference, full at the largest.
  const double strength =
      0.25 + 0.75 * std::min(1.0, std::abs(delta) / largest);
  const auto fade = static_cast<uint8_t>(std::lround(255 * (1 - strength)));
  return delta > 0 ? Rgb{255, fade, fade} : Rgb{fade, fade, 255};
}

CompareModel::CompareModel(EcuLink& link, CalibrationImage& image,
                           const LiveData& live, BusyView& busy)
    : link_(link), image_(image), live_(live), busy_(busy) {}

void CompareModel::Changed() {
  if (changed_) changed_();
}

bool CompareModel::ReadSides() {
  // The file first: a wrong name costs nothing, the ECU several seconds.
  CalibrationSnapshot b = SnapshotOfSetupFile(b_path);
  if (!b.trouble.empty()) {
    link_.prompts().Tell(b.trouble);
    return false;
  }
  CalibrationSnapshot a;
  if (a_is_ecu) {
    link_.EnsureLink();
    busy_.BeginBusy();
    a = ReadEcuSnapshot(link_, image_, [this](int done, int total) {
      busy_.ShowProgress(static_cast<double>(done) / total);
    });
    busy_.EndBusy();
  } else {
    a = SnapshotOfSetupFile(a_path);
  }
  if (!a.trouble.empty()) {
    link_.prompts().Tell(a.trouble);
    return false;
  }
  for (const CalibrationSnapshot* side : {&a, &b}) {
    if (!side->problems.empty()) link_.prompts().Tell(ProblemText(*side));
  }
  if (a.unanswered_reads > 0) {
    link_.prompts().Tell(std::to_string(a.unanswered_reads) +
                         " reads of the ECU went unanswered; their items "
                         "show as unknown.");
  }
  a_ = std::move(a);
  b_ = std::move(b);
  return true;
}

bool CompareModel::Compare() {
  if (running_) return false;
  running_ = true;
  Changed();
  const bool read = ReadSides();
  if (read) {
    picked_.clear();
    Recompare();
    compared_ = true;
  }
  running_ = false;
  Changed();
  return read;
}

void CompareModel::Recompare() {
  comparison_ = CompareCalibrations(a_, b_, live_);
  // Picks of items that no longer differ go.
  std::set<std::string> still;
  for (const DifferenceGroup& group : comparison_.groups) {
    for (const ItemDifference& item : group.items) {
      if (picked_.contains(item.name)) still.insert(item.name);
    }
  }
  picked_ = std::move(still);
}

std::string CompareModel::Summary() const {
  if (!compared_) return "";
  const int n = comparison_.count();
  const std::string a_name = a_is_ecu ? "ECU" : FileName(a_.source);
  std::string text =
      n == 0 ? std::string("No item differs")
             : std::to_string(n) + (n == 1 ? " item differs" : " items differ");
  return text + " between A (" + a_name + ") and B (" + FileName(b_.source) +
         ").";
}

void CompareModel::SetPicked(const std::string& name, bool picked) {
  if (!picked) {
    picked_.erase(name);
  } else {
    for (const DifferenceGroup& group : comparison_.groups) {
      for (const ItemDifference& item : group.items) {
        if (item.name == name && Pickable(item)) picked_.insert(name);
      }
    }
  }
  Changed();
}

void CompareModel::PickAll(bool picked) {
  picked_.clear();
  if (picked) {
    for (const DifferenceGroup& group : comparison_.groups) {
      for (const ItemDifference& item : group.items) {
        if (Pickable(item)) picked_.insert(item.name);
      }
    }
  }
  Changed();
}

void CompareModel::CopyPicked() {
  if (running_ || picked_.empty()) return;
  if (link_.state().demo_mode) {
    link_.prompts().Tell(
        "The console runs in demo mode: there is no ECU to write to.");
    return;
  }
  Message question;
  question.title = "CAUTION!";
  question.text = "This will write " + std::to_string(picked_.size()) +
                  (picked_.size() == 1 ? " item" : " items") + " of B (" +
                  FileName(b_.source) + ") into the ECU. Continue?";
  question.buttons = Buttons::kYesNo;
  question.icon = Icon::kExclamation;
  question.default_button = 1;
  if (link_.prompts().Show(question) != Answer::kYes) return;

  std::vector<const ItemDifference*> items;
  for (const DifferenceGroup& group : comparison_.groups) {
    for (const ItemDifference& item : group.items) {
      if (picked_.contains(item.name)) items.push_back(&item);
    }
  }
  running_ = true;
  Changed();
  link_.EnsureLink();
  busy_.BeginBusy();
  const CopyReport report =
      CopyToEcu(link_, image_, b_, items, [this](int done, int total) {
        busy_.ShowProgress(static_cast<double>(done) / total);
      });
  busy_.EndBusy();
  if (a_is_ecu) {
    for (const CopiedItem& copied : report.items) {
      if (!copied.held) continue;
      if (copied.item->scalar != nullptr) {
        a_.set_scalar(*copied.item->scalar, *copied.held);
      } else {
        a_.set_element(*copied.item->table, copied.item->index, *copied.held);
      }
    }
  }
  const int written = static_cast<int>(report.items.size()) - report.unanswered;
  std::string text = std::to_string(written) + " of " +
                     std::to_string(items.size()) +
                     " items written into the ECU.";
  if (report.unanswered > 0) {
    text += " " + std::to_string(report.unanswered) +
            " went unanswered; copy them again once the ECU answers.";
  }
  for (const CopiedItem& copied : report.items) {
    if (copied.held) picked_.erase(copied.item->name);
  }
  Recompare();
  running_ = false;
  Changed();
  link_.prompts().Tell(text);
}

const ItemDifference* CompareModel::Find(const TableItem& table,
                                         int index) const {
  for (const DifferenceGroup& group : comparison_.groups) {
    if (group.table != &table) continue;
    for (const ItemDifference& item : group.items) {
      if (item.index == index) return &item;
    }
  }
  return nullptr;
}

std::string CompareModel::GridText(const TableItem& table, int index) const {
  std::optional<int32_t> raw = b_.element(table, index);
  const CalibrationSnapshot& side = raw ? b_ : a_;
  if (!raw) raw = a_.element(table, index);
  if (!raw) return "";
  return DisplayText(table.scaling, table.format, *raw, side.Scale(live_));
}

Rgb CompareModel::GridColour(const TableItem& table, int index) const {
  const ItemDifference* item = Find(table, index);
  if (item == nullptr) return kBrightWhite;
  if (!item->delta) return kUnknownColour;
  double largest = 0;
  for (const DifferenceGroup& group : comparison_.groups) {
    if (group.table != &table) continue;
    for (const ItemDifference& other : group.items) {
      if (other.delta) largest = std::max(largest, std::abs(*other.delta));
    }
  }
  return DifferenceColour(*item->delta, largest);
}

}  // namespace ecu

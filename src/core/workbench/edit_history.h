#ifndef ECU_CORE_WORKBENCH_EDIT_HISTORY_H_
#define ECU_CORE_WORKBENCH_EDIT_HISTORY_H_

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/editors/editor_cell.h"
#include "core/editors/editor_colours.h"

namespace ecu {

// A cell as it was before a change: its text, its background (a value band
// of the fuel map, white, or the mark) and whether its value was known.
struct CellState {
  std::string text;
  Rgb background;
  bool known = true;
};

// What one undo step changes: each cell before, and its text after.
struct CellChange {
  CellRef ref;
  CellState before;
  std::string after;
};

// The undo and redo history of one editor window's cells. A step is one
// thing the tuner did: a typed entry (however many keystrokes, until the
// focus moves on), a nudge, a block operation, a reset, an advisor apply.
// The history also keeps what the ECU last confirmed for each cell, so that
// a value put back by undo or redo is marked changed exactly when it
// differs from what the ECU holds: undoing a value already sent marks the
// previous value for the next Update, and nothing is ever sent by undo.
class EditHistory {
 public:
  // A change of a cell's text by the tuner. `typing` changes to one cell in
  // a row make one step; anything else starts a step of its own, unless a
  // group is open.
  void Record(CellRef ref, const CellState& before, const std::string& after,
              bool typing);
  // Changes between Begin and End make one step (a block operation).
  void BeginGroup();
  void EndGroup();
  // The typed entry in progress is complete (the focus moved on).
  void CloseTyping() { typing_ = std::nullopt; }

  // The ECU confirmed a cell's text (a read, an echo).
  void Confirmed(CellRef ref, const std::string& text);
  // A write of the cell went unanswered: it may have reached the ECU, so
  // what the ECU holds is no longer known.
  void Unconfirmed(CellRef ref);
  // What the ECU last confirmed for a cell; nothing before any reply.
  std::optional<std::string> ConfirmedText(CellRef ref) const;

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // The step to take back (texts to restore: `before` of each edit), moved
  // to the redo list; empty when there is none.
  std::vector<CellChange> Undo();
  // The step to do again (`after` of each edit), moved back.
  std::vector<CellChange> Redo();

  // A fresh read from the ECU replaces the window's values: the history
  // starts again.
  void Clear();

 private:
  using Step = std::vector<CellChange>;
  void Add(CellRef ref, const CellState& before, const std::string& after);
  // Takes the last step of `from` over to `to` and gives it.
  std::vector<CellChange> MoveStep(std::vector<Step>& from,
                                   std::vector<Step>& to);

  std::vector<Step> undo_;
  std::vector<Step> redo_;
  int group_depth_ = 0;
  bool group_started_ = false;
  std::optional<CellRef> typing_;
  std::map<std::pair<std::string, int>, std::string> confirmed_;
};

}  // namespace ecu

#endif  // ECU_CORE_WORKBENCH_EDIT_HISTORY_H_

#ifndef ECU_CORE_EDITORS_TABLE_EDITOR_H_
#define ECU_CORE_EDITORS_TABLE_EDITOR_H_

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/calibration/field_board.h"
#include "core/editors/cell_family.h"
#include "core/editors/editor_cell.h"
#include "core/editors/editor_context.h"
#include "core/editors/key_rules.h"
#include "core/workbench/edit_history.h"

namespace ecu {

// What a window shows of its editor; the editor calls these after it
// changed something.
struct TableEditorListener {
  std::function<void(CellRef)> cell_changed;  // text or colours of one cell
  std::function<void()> state_changed;        // enabled or loading
};

// The cells of one editor window and what every editor does with them: the
// change mark, focus colours, key rules, the update pass, reset, and the
// cells' part of filling the window from the ECU. Windows add their own
// families, orders and texts on top.
class TableEditor {
 public:
  TableEditor(EditorContext ctx, std::string_view window);
  TableEditor(const TableEditor&) = delete;
  TableEditor& operator=(const TableEditor&) = delete;

  // Families keep their order; each starts with empty, yellow cells.
  void AddFamily(CellFamily family);
  const CellFamily* FindFamily(std::string_view name) const;
  const std::vector<CellFamily>& families() const { return families_; }
  bool Contains(CellRef ref) const;
  // The cell must exist (Contains).
  const EditorCell& cell(CellRef ref) const;
  const std::string& text(CellRef ref) const { return cell(ref).text; }

  // What the user does in a cell. Typing marks the cell changed.
  void Edited(CellRef ref, std::string text);
  void FocusChanged(CellRef ref, bool has_focus);
  KeyOutcome KeyPressed(CellRef ref, const EditorKeyPress& key);

  // Text the console writes into a cell (a nudge, a reset, a block
  // operation): marked changed like typing.
  void ReplaceText(CellRef ref, std::string text);
  // A value the ECU confirmed (a reply or an echo) or the demo fill: white.
  void ShowConfirmed(CellRef ref, std::string text);
  void Paint(CellRef ref, Rgb background);
  // Every cell of the family yellow, as not yet read; emptied if asked.
  void MarkUnread(std::string_view family, bool empty_text);
  // Every cell of the family shows its demo text from the catalogue, white.
  void ShowDemoTexts(std::string_view family);
  // Sends the read of the table element a cell shows; the reply fills it.
  void ReadFromEcu(CellRef ref);

  // Replies and echoes reach the cells through the field board while the
  // editor is subscribed (its window exists).
  void Subscribe();
  void Unsubscribe();
  bool subscribed() const { return !subscriptions_.empty(); }

  // The update: every changed cell, in `order`, checked against its item's
  // limits and written with its write command; waits of `pause` seconds
  // before and after. The echoes clear the marks.
  void set_update_order(std::vector<CellRef> order) {
    update_order_ = std::move(order);
  }
  void set_update_pause(double seconds) { update_pause_ = seconds; }
  // From a user action: runs once no transaction is in progress.
  void RequestUpdate();
  void Update();
  // The cells' part of an update, for windows whose pass has more steps
  // than one order between two pauses: every changed cell of `cells` that
  // holds a number is checked and written. True when a cell without a
  // number was passed over; TellSkippedCells then says so once per pass.
  bool SendChangedCells(std::vector<CellRef> cells);
  void TellSkippedCells();

  // Reset: after the "CAUTION!" question, every cell of the family gets the
  // table's reset text (marked changed; nothing is sent).
  void RequestReset(std::string_view family);
  bool ConfirmAndReset(std::string_view family);

  // Undo and redo of what the tuner did to the cells (Ctrl+Z, Ctrl+Y); a
  // value put back is marked changed unless the ECU holds it. Nothing is
  // sent. A fresh fill from the ECU starts the history again.
  void Undo();
  void Redo();
  bool CanUndo() const { return history_.CanUndo(); }
  bool CanRedo() const { return history_.CanRedo(); }
  // Changes made while a group is open are one undo step.
  class EditGroup {
   public:
    explicit EditGroup(TableEditor& editor) : editor_(editor) {
      editor_.history_.BeginGroup();
    }
    ~EditGroup() { editor_.history_.EndGroup(); }
    EditGroup(const EditGroup&) = delete;
    EditGroup& operator=(const EditGroup&) = delete;

   private:
    TableEditor& editor_;
  };

  // Runs `action` once the link is idle, unless the editor is gone by then.
  void WhenIdle(std::function<void()> action);

  // While the window fills itself it is disabled, and text changes do not
  // redraw what depends on them. A cell that got no value by the end of the
  // fill is unknown: it is emptied (an old text would be sent as if the ECU
  // held it) and stays marked, and no update sends it until the user enters
  // a value.
  void BeginFill();
  void EndFill();
  int UnknownCount() const;
  // After a fill outside demo mode: when values stayed unknown (these cells
  // and `other_unknown` controls of the window's own), says so once and
  // asks whether to read them again. True for Yes.
  bool OfferReadAgain(int other_unknown = 0);
  // Reads again every unknown cell, each read sent once.
  void ReadUnknownFromEcu();
  bool loading() const { return loading_; }
  bool enabled() const { return enabled_; }

  void set_listener(TableEditorListener listener) {
    listener_ = std::move(listener);
  }
  // Called whenever the text of a cell changes, by whatever means.
  void set_text_changed(std::function<void(CellRef)> f) {
    text_changed_ = std::move(f);
  }

  // The label a window shows beside a family's field, so that a value that
  // does not fit is refused by name ("The value for Accel Min PW is out of
  // range ..."); without one the message names no field.
  void set_field_labels(std::function<std::string_view(std::string_view)> f) {
    field_labels_ = std::move(f);
  }

  EditorContext& context() { return ctx_; }
  std::string_view window() const { return window_; }

 private:
  int FamilyIndex(std::string_view name) const;
  EditorCell& MutableCell(CellRef ref);
  // The one place a cell's text and known state change.
  void SetText(CellRef ref, std::string text, Rgb background, bool known);
  // A change by the tuner: set and put in the history.
  void SetByTuner(CellRef ref, std::string text, bool typing);
  void PutBack(const std::vector<CellChange>& changes, bool undoing);
  void Changed(CellRef ref);
  // Checks and sends one changed cell that holds a number.
  void SendCell(CellRef ref);

  EditorContext ctx_;
  std::string_view window_;
  std::vector<CellFamily> families_;
  std::vector<std::vector<EditorCell>> cells_;
  std::vector<FieldBoard::Subscription> subscriptions_;
  std::vector<CellRef> update_order_;
  EditHistory history_;
  bool recording_ = true;  // off while the console itself changes cells
  double update_pause_ = 0.2;
  bool loading_ = false;
  bool enabled_ = true;
  TableEditorListener listener_;
  std::function<void(CellRef)> text_changed_;
  std::function<std::string_view(std::string_view)> field_labels_;
  // Deferred actions hold a weak reference: a window may go first.
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_TABLE_EDITOR_H_

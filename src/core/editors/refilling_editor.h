#ifndef ECU_CORE_EDITORS_REFILLING_EDITOR_H_
#define ECU_CORE_EDITORS_REFILLING_EDITOR_H_

#include <string_view>

#include "core/editors/editor_context.h"
#include "core/editors/table_editor.h"
#include "core/link/window_activation.h"

namespace ecu {

// An editor whose window reads everything again on every activation, and
// forgets it all when its close box destroys the window. Enter in any cell
// runs the editor's own update pass.
class RefillingEditor {
 public:
  RefillingEditor(EditorContext ctx, std::string_view window);
  virtual ~RefillingEditor() = default;
  RefillingEditor(const RefillingEditor&) = delete;
  RefillingEditor& operator=(const RefillingEditor&) = delete;

  TableEditor& cells() { return cells_; }
  const TableEditor& cells() const { return cells_; }

  // The window was shown; once it is up it is activated.
  void Shown() {
    activation_.Shown([this] { Activate(); });
  }
  // The window was activated: it reads everything again (once the link is
  // idle), and unsent edits give way to what the ECU holds. Values left
  // unknown are offered to be read again.
  void Activate();
  virtual void Fill() = 0;
  // The window was hidden: a fill still waiting is dropped.
  void Hidden() { activation_.Hidden(); }
  // The window's close box destroys it: it shows nothing and hears no more
  // replies until it is opened again.
  void Discard();

  // Enter in any cell updates the whole window; the rest are the cells'
  // key rules.
  KeyOutcome KeyPressed(CellRef ref, const EditorKeyPress& key);
  void RequestUpdate();
  virtual void Update() = 0;

 protected:
  // Replies reach the window from now on.
  virtual void Subscribe() { cells_.Subscribe(); }
  // What the editor forgets besides the cells when discarded.
  virtual void Discarded() {}
  // Controls besides the cells whose value the fill left unknown.
  virtual int UnknownControls() const { return 0; }

 private:
  TableEditor cells_;
  WindowActivation activation_;
};

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_REFILLING_EDITOR_H_

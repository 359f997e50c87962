#include "core/editors/refilling_editor.h"

namespace ecu {

RefillingEditor::RefillingEditor(EditorContext ctx, std::string_view window)
    : cells_(ctx, window), activation_(ctx.link, ctx.pump) {}

void RefillingEditor::Activate() {
  Subscribe();
  // Disabled at once: the reads may have to wait for a transaction.
  cells_.BeginFill();
  // Closed by its close box before the link was free: nothing to fill.
  activation_.FillWhenIdle([this] {
    do {
      Fill();
    } while (cells_.OfferReadAgain(UnknownControls()));
  });
}

void RefillingEditor::Discard() {
  activation_.Hidden();
  cells_.Unsubscribe();
  for (const CellFamily& family : cells_.families()) {
    cells_.MarkUnread(family.name, true);
  }
  Discarded();
}

KeyOutcome RefillingEditor::KeyPressed(CellRef ref, const EditorKeyPress& key) {
  if (key.key == EditorKey::kEnter && !key.release) {
    RequestUpdate();
    return {.handled = true};
  }
  return cells_.KeyPressed(ref, key);
}

void RefillingEditor::RequestUpdate() {
  cells_.WhenIdle([this] { Update(); });
}

}  // namespace ecu

#ifndef ECU_UI_WIDGETS_CELL_GRID_H_
#define ECU_UI_WIDGETS_CELL_GRID_H_

#include <QLineEdit>
#include <QWidget>
#include <functional>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

#include "core/editors/table_editor.h"

namespace ecu {

class CellBoxes;

// One editor cell as a text box: it shows the cell's text and colours and
// hands typing, focus and keys to the editor.
class CellEdit : public QLineEdit {
  Q_OBJECT

 public:
  CellEdit(CellBoxes& boxes, CellRef ref, QWidget* parent);

  CellRef ref() const { return ref_; }
  // The widest text the cell is sized to show whole.
  const QString& room() const { return room_; }
  // Shows the cell as the editor holds it now.
  void Refresh();
  // Cuts the box from its boxes and editor, which are going: a window's
  // members die before its child widgets, and closing the window may still
  // move the focus out of a box.
  void Detach() { boxes_ = nullptr; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  CellBoxes* boxes_;
  CellRef ref_;
  QString room_;
  Rgb background_{1, 2, 3};  // as painted last; nothing yet
  Rgb text_colour_{1, 2, 3};
};

// The text boxes of one editor window, one per cell, kept in step with the
// editor. Boxes are named name_INDEX (map_data_17), or name alone for a
// family of one (tps_rpm).
class CellBoxes {
 public:
  using KeyHandler = std::function<KeyOutcome(CellRef, const EditorKeyPress&)>;

  CellBoxes(TableEditor& editor, KeyHandler keys);
  ~CellBoxes();
  CellBoxes(const CellBoxes&) = delete;
  CellBoxes& operator=(const CellBoxes&) = delete;

  CellEdit* Add(CellRef ref, QWidget* parent);
  // A container with the family's boxes in a grid; `place` gives each
  // element's row and column.
  QWidget* Grid(std::string_view family,
                const std::function<std::pair<int, int>(int)>& place,
                QWidget* parent);
  CellEdit* Find(CellRef ref) const;
  void Refresh(CellRef ref);
  void RefreshAll();

  TableEditor& editor() { return editor_; }
  // A key in a box: the editor's answer, and the focus moved if it says so.
  bool HandleKey(CellRef ref, const EditorKeyPress& key);

 private:
  TableEditor& editor_;
  KeyHandler keys_;
  std::map<std::string_view, std::vector<CellEdit*>> boxes_;
};

}  // namespace ecu

#endif  // ECU_UI_WIDGETS_CELL_GRID_H_

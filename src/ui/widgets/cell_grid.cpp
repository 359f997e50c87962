#include "ui/widgets/cell_grid.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QKeyEvent>
#include <algorithm>

#include "core/editors/widest_cell_text.h"
#include "ui/widgets/line_edit_width.h"
#include "ui/widgets/qt_colour.h"
#include "ui/widgets/redo_keys.h"

namespace ecu {
namespace {

EditorKey KeyOf(int qt_key) {
  switch (qt_key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return EditorKey::kEnter;
    case Qt::Key_Up:
      return EditorKey::kUp;
    case Qt::Key_Down:
      return EditorKey::kDown;
    case Qt::Key_Left:
      return EditorKey::kLeft;
    case Qt::Key_Right:
      return EditorKey::kRight;
    case Qt::Key_Control:
      return EditorKey::kControl;
    default:
      return EditorKey::kOther;
  }
}

// Undo and redo by the platform's keys and by the Edit menu's redo keys,
// all taken from the text box's own undo.
EditorKey UndoKeyOf(const QKeyEvent* event) {
  const Qt::KeyboardModifiers mods =
      event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier);
  const QKeySequence pressed(
      QKeyCombination(mods, static_cast<Qt::Key>(event->key())));
  if (event->matches(QKeySequence::Redo) || RedoShortcuts().contains(pressed)) {
    return EditorKey::kRedo;
  }
  if (event->matches(QKeySequence::Undo)) return EditorKey::kUndo;
  return EditorKey::kOther;
}

EditorKeyPress PressOf(const QKeyEvent* event, bool release) {
  const EditorKey undo = UndoKeyOf(event);
  return {.key = undo != EditorKey::kOther ? undo : KeyOf(event->key()),
          .shift = (event->modifiers() & Qt::ShiftModifier) != 0,
          .release = release,
          .auto_repeat = event->isAutoRepeat()};
}

}  // namespace

CellEdit::CellEdit(CellBoxes& boxes, CellRef ref, QWidget* parent)
    : QLineEdit(parent), boxes_(&boxes), ref_(ref) {
  const CellFamily* family = boxes.editor().FindFamily(ref.family);
  const QString name =
      QString::fromUtf8(ref.family.data(), static_cast<int>(ref.family.size()));
  setObjectName(family != nullptr && family->count > 1
                    ? QString("%1_%2").arg(name).arg(ref.index)
                    : name);
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  setFont(fixed);
  setAlignment(Qt::AlignCenter);
  // A line edit asks for room for 17 characters; a cell needs room for the
  // widest text it may hold. Scales that follow the configuration (RPM,
  // kPa) have no more digits than the usual room.
  room_ = QString::fromStdString(
      family != nullptr ? WidestCellText(*family, LiveData{}) : "0000000");
  // Half a digit more keeps a little air around the text.
  setFixedWidth(LineEditWidthFor(*this, room_) +
                QFontMetrics(fixed).horizontalAdvance('0') / 2);
  connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (boxes_ != nullptr) boxes_->editor().Edited(ref_, text.toStdString());
  });
  Refresh();
}

void CellEdit::Refresh() {
  if (boxes_ == nullptr) return;
  const EditorCell& cell = boxes_->editor().cell(ref_);
  const QString text = QString::fromStdString(cell.text);
  if (this->text() != text) setText(text);
  if (cell.background == background_ && cell.text_colour == text_colour_) {
    return;
  }
  background_ = cell.background;
  text_colour_ = cell.text_colour;
  QPalette colours = palette();
  colours.setColor(QPalette::Base, ToQColor(background_));
  colours.setColor(QPalette::Text, ToQColor(text_colour_));
  setPalette(colours);
}

void CellEdit::keyPressEvent(QKeyEvent* event) {
  if (boxes_ != nullptr && boxes_->HandleKey(ref_, PressOf(event, false))) {
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void CellEdit::keyReleaseEvent(QKeyEvent* event) {
  // Only Ctrl's release matters (it ends a block selection); a repeating key
  // is still held.
  if (event->key() == Qt::Key_Control && !event->isAutoRepeat()) {
    if (boxes_ != nullptr) boxes_->HandleKey(ref_, PressOf(event, true));
  }
  QLineEdit::keyReleaseEvent(event);
}

void CellEdit::focusInEvent(QFocusEvent* event) {
  if (boxes_ != nullptr) boxes_->editor().FocusChanged(ref_, true);
  QLineEdit::focusInEvent(event);
}

void CellEdit::focusOutEvent(QFocusEvent* event) {
  if (boxes_ != nullptr) boxes_->editor().FocusChanged(ref_, false);
  QLineEdit::focusOutEvent(event);
}

CellBoxes::CellBoxes(TableEditor& editor, KeyHandler keys)
    : editor_(editor), keys_(std::move(keys)) {}

CellBoxes::~CellBoxes() {
  for (auto& [family, boxes] : boxes_) {
    for (CellEdit* box : boxes) {
      if (box != nullptr) box->Detach();
    }
  }
}

CellEdit* CellBoxes::Add(CellRef ref, QWidget* parent) {
  const CellFamily* family = editor_.FindFamily(ref.family);
  if (family == nullptr || !editor_.Contains(ref)) return nullptr;
  std::vector<CellEdit*>& boxes = boxes_[family->name];
  boxes.resize(static_cast<size_t>(family->count), nullptr);
  auto* box = new CellEdit(*this, {family->name, ref.index}, parent);
  boxes[static_cast<size_t>(ref.index)] = box;
  return box;
}

QWidget* CellBoxes::Grid(std::string_view family,
                         const std::function<std::pair<int, int>(int)>& place,
                         QWidget* parent) {
  auto* grid = new QWidget(parent);
  auto* layout = new QGridLayout(grid);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  const CellFamily* f = editor_.FindFamily(family);
  for (int i = 0; f != nullptr && i < f->count; ++i) {
    const auto [row, column] = place(i);
    layout->addWidget(Add({f->name, i}, grid), row, column);
  }
  return grid;
}

CellEdit* CellBoxes::Find(CellRef ref) const {
  const auto found = boxes_.find(ref.family);
  if (found == boxes_.end() || ref.index < 0 ||
      ref.index >= static_cast<int>(found->second.size())) {
    return nullptr;
  }
  return found->second[static_cast<size_t>(ref.index)];
}

void CellBoxes::Refresh(CellRef ref) {
  if (CellEdit* box = Find(ref)) box->Refresh();
}

void CellBoxes::RefreshAll() {
  for (auto& [family, boxes] : boxes_) {
    for (CellEdit* box : boxes) {
      if (box != nullptr) box->Refresh();
    }
  }
}

bool CellBoxes::HandleKey(CellRef ref, const EditorKeyPress& key) {
  const KeyOutcome outcome = keys_(ref, key);
  if (outcome.focus) {
    if (CellEdit* target = Find(*outcome.focus)) target->setFocus();
  }
  return outcome.handled;
}

}  // namespace ecu

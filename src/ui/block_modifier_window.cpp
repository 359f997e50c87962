#include "ui/block_modifier_window.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/widgets/line_edit_width.h"
#include "ui/window_placement.h"

namespace ecu {
namespace {

QLineEdit* OperandBox(const char* name, std::string* operand, QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  box->setFont(fixed);
  box->setAlignment(Qt::AlignRight);
  box->setMinimumWidth(LineEditWidthFor(*box, "0000.000"));
  QObject::connect(box, &QLineEdit::textEdited, box,
                   [operand](const QString& t) { *operand = t.toStdString(); });
  return box;
}

}  // namespace

BlockModifierWindow::BlockModifierWindow(BlockModifier& modifier,
                                         QWidget* parent)
    : QWidget(parent, Qt::Window), modifier_(modifier) {
  setObjectName("frm_block");
  setWindowTitle("Modify Block of Cells");
  set_value_ = OperandBox("set_value", &modifier_.set_value, this);
  add_ = OperandBox("Add", &modifier_.add, this);
  multiply_ = OperandBox("multiply", &modifier_.multiply, this);

  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(12, 12, 12, 12);
  layout->setHorizontalSpacing(8);
  layout->setVerticalSpacing(6);
  auto* value = new QLabel("Value", this);
  value->setAlignment(Qt::AlignCenter);
  layout->addWidget(value, 0, 1);
  // Each operand box beside the buttons that use it.
  struct Row {
    QLineEdit* box;
    BlockOperation first;
    BlockOperation second;
  };
  const Row rows[] = {
      {set_value_, BlockOperation::kSetAll, BlockOperation::kCancel},
      {add_, BlockOperation::kAdd, BlockOperation::kSubtract},
      {multiply_, BlockOperation::kMultiply, BlockOperation::kDivide},
  };
  static const char* const kCaptions[] = {
      "Cancel", "Multiply",   "Add",      "Set All",  "Subtract",
      "Divide", "Horizontal", "Vertical", "Bilinear", "Smooth"};
  auto button = [this](BlockOperation operation) {
    const int n = static_cast<int>(operation);
    auto* b = new QPushButton(kCaptions[n], this);
    b->setObjectName(QString("cell_operation_%1").arg(n));
    connect(b, &QPushButton::clicked, this,
            [this, operation] { modifier_.Press(operation); });
    return b;
  };
  int row = 1;
  for (const Row& r : rows) {
    layout->addWidget(button(r.first), row, 0);
    layout->addWidget(r.box, row, 1);
    if (r.second != BlockOperation::kCancel) {
      layout->addWidget(button(r.second), row, 2);
    }
    ++row;
  }
  layout->addWidget(button(BlockOperation::kCancel), row, 2);
  // After the standard six: shaping the block from its own cells.
  ++row;
  auto* shaping = new QLabel("Interpolate", this);
  shaping->setAlignment(Qt::AlignCenter);
  layout->addWidget(shaping, row++, 0, 1, 3);
  const struct {
    BlockOperation operation;
    const char* tip;
  } shapers[] = {
      {BlockOperation::kInterpolateHorizontal,
       "Each row of the block straight from its left cell to its right cell"},
      {BlockOperation::kInterpolateVertical,
       "Each column of the block straight from its bottom cell to its top "
       "cell"},
      {BlockOperation::kInterpolateBilinear,
       "Every cell of the block from the block's four corners"},
      {BlockOperation::kSmooth,
       "A light 3 x 3 weighted average of each cell with its neighbours"}};
  int column = 0;
  for (const auto& s : shapers) {
    QPushButton* b = button(s.operation);
    b->setToolTip(s.tip);
    if (column == 3) {
      column = 0;
      ++row;
    }
    layout->addWidget(b, row, column++);
  }
  modifier_.set_shown_changed([this] { Follow(); });
  Follow();
}

void BlockModifierWindow::Follow() {
  set_value_->setText(QString::fromStdString(modifier_.set_value));
  add_->setText(QString::fromStdString(modifier_.add));
  multiply_->setText(QString::fromStdString(modifier_.multiply));
  if (modifier_.shown()) {
    ShowPlaced(this);
  } else {
    hide();
  }
}

void BlockModifierWindow::closeEvent(QCloseEvent* event) {
  if (modifier_.shown()) modifier_.Close();
  event->accept();
}

}  // namespace ecu

#include "ui/widgets/readout_label.h"

#include <QFontDatabase>

namespace ecu {

QLabel* MakeReadoutLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  label->setFont(fixed);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  // A palette rather than a style sheet: read-outs repaint many times a
  // second, and style sheets make every paint dearer.
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, Qt::white);
  palette.setColor(QPalette::WindowText, QColor(0, 0, 192));
  label->setPalette(palette);
  label->setAutoFillBackground(true);
  label->setFrameStyle(QFrame::Box | QFrame::Plain);
  label->setMargin(2);
  label->setIndent(6);
  // A fixed size: a new text then repaints the box alone, where a label
  // that may grow makes the whole window lay itself out again, many times
  // a second.
  label->setText("00000.000");
  const int height = label->sizeHint().height();
  label->clear();
  label->setFixedSize(QFontMetrics(fixed).horizontalAdvance("00000.000") + 12,
                      height);
  return label;
}

}  // namespace ecu

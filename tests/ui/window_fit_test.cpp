// Every window at its smallest shows its controls and texts whole, and fits
// a 1366 x 768 screen. ctest runs these again at QT_SCALE_FACTOR 1.5 and 2
// and with 144-dpi fonts (QT_FONT_DPI), as a desktop may set them.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <string>
#include <vector>

#include "ui/view_window.h"
#include "ui/widgets/cell_grid.h"
#include "ui/widgets/line_edit_width.h"
#include "ui/window_openings.h"

namespace ecu::testing {
namespace {

// A 1366 x 768 screen less a panel (32 px), the title bar (30 px) and the
// window frame.
constexpr int kUsableWidth = 1366 - 8;
constexpr int kUsableHeight = 768 - 32 - 30 - 8;

// Whether the platform font is the usual 96 dpi one: with larger fonts a
// window may outgrow a small screen, but must still show its texts whole.
bool UsualFontSize() {
  return QGuiApplication::primaryScreen()->logicalDotsPerInch() <= 96.5;
}

TEST(WindowFitTest, EveryWindowAtItsSmallestShowsItsTextsWhole) {
  for (const Opening& opening : Windows()) {
    SCOPED_TRACE(opening.name);
    ConsoleRig rig({"demo"});
    QWidget* window = opening.open(rig);
    ASSERT_NE(window, nullptr);
    QApplication::processEvents();
    const QSize least =
        window->minimumSizeHint().expandedTo(window->minimumSize());
    if (UsualFontSize()) {
      EXPECT_LE(least.width(), kUsableWidth);
      EXPECT_LE(least.height(), kUsableHeight);
    }
    window->resize(least);
    QApplication::processEvents();

    // Cells: room for the widest value their items can hold.
    for (CellEdit* cell : window->findChildren<CellEdit*>()) {
      if (!cell->isVisibleTo(window)) continue;
      EXPECT_GE(cell->width(), LineEditWidthFor(*cell, cell->room()))
          << cell->objectName().toStdString() << " cannot show "
          << cell->room().toStdString();
    }
    // Other boxes: their present text.
    for (QLineEdit* box : window->findChildren<QLineEdit*>()) {
      if (!box->isVisibleTo(window)) continue;
      EXPECT_GE(box->width(), LineEditWidthFor(*box, box->text()))
          << box->objectName().toStdString();
    }
    // Captions, check boxes, option buttons and push buttons: never
    // squeezed below the room their text asks for.
    for (QWidget* control : window->findChildren<QWidget*>()) {
      if (!control->isVisibleTo(window)) continue;
      const auto* label = qobject_cast<QLabel*>(control);
      if (label != nullptr && label->wordWrap()) continue;
      if (label == nullptr &&
          qobject_cast<QAbstractButton*>(control) == nullptr &&
          qobject_cast<QGroupBox*>(control) == nullptr) {
        continue;
      }
      EXPECT_GE(control->width(), control->minimumSizeHint().width())
          << control->metaObject()->className() << " "
          << control->objectName().toStdString();
    }
  }
}

}  // namespace
}  // namespace ecu::testing

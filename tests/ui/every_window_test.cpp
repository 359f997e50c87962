// Every window of the console, opened as a user brings it up. Its words as
// the tuner reads them (titles, captions, buttons, menus and tool tips) are
// kept in window_texts.txt beside this file: a changed word fails here; after
// a deliberate change, run the test with ECU_WRITE_WINDOW_TEXTS=1 and read
// the difference before committing it. At its smallest every window shows
// its controls and texts whole and fits a 1366 x 768 screen; ctest runs that
// again at QT_SCALE_FACTOR 1.5 and 2 and with 144-dpi fonts (QT_FONT_DPI), as
// a desktop may set them.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QWidget>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "ui/about_window.h"
#include "ui/advisor_tools.h"
#include "ui/advisor_window.h"
#include "ui/compare_window.h"
#include "ui/console_rig.h"
#include "ui/flash_utility_window.h"
#include "ui/fuel_map_window.h"
#include "ui/view_window.h"
#include "ui/widgets/cell_grid.h"
#include "ui/widgets/line_edit_width.h"
#include "ui/workbench.h"

namespace ecu::testing {
namespace {

// A window of the console, and how a user brings it up.
struct Opening {
  const char* name;
  std::function<QWidget*(ConsoleRig&)> open;
};

// A view window, opened from its View menu entry.
Opening ViewOpening(const char* name, const char* entry, View view) {
  return {name, [entry, view](ConsoleRig& rig) {
            QWidget* window = rig.OpenView(entry, view, /*loop_first=*/true);
            rig.Ticks(2);
            return window;
          }};
}

FuelMapWindow* FuelMap(ConsoleRig& rig) {
  return static_cast<FuelMapWindow*>(
      ViewOpening("", "menu_View_Mapping", View::kFuelMap).open(rig));
}

const std::vector<Opening>& Windows() {
  static const std::vector<Opening> windows = {
      {"main",
       [](ConsoleRig& rig) -> QWidget* { return &rig.app->main_window(); }},
      ViewOpening("monitor", "Menu_View_Monitor", View::kMonitor),
      ViewOpening("dashboard", "menu_view_dashboard", View::kDashboard),
      ViewOpening("plotter", "menu_View_Plotter", View::kPlotter),
      ViewOpening("curves", "menu_view_temperature", View::kCurves),
      ViewOpening("supplementary", "menu_View_supp", View::kSupplementary),
      ViewOpening("configuration", "Menu_View_Injection", View::kConfiguration),
      {"fuel map", FuelMap},
      {"surface graph",
       [](ConsoleRig& rig) -> QWidget* {
         FuelMapWindow* map = FuelMap(rig);
         map->editor().graph().Show();
         return map->graph_window();
       }},
      {"block modifier",
       [](ConsoleRig& rig) -> QWidget* {
         FuelMapWindow* map = FuelMap(rig);
         map->modifier_window()->show();
         return map->modifier_window();
       }},
      {"flash utility",
       [](ConsoleRig& rig) -> QWidget* {
         rig.port.ecu()->controller().awaiting_firmware = true;
         rig.app->set_flash_port(&rig.port);
         rig.app->ShowFlashUtility();
         return rig.app->flash_utility();
       }},
      {"compare",
       [](ConsoleRig& rig) -> QWidget* {
         rig.app->workbench().ShowCompare();
         return rig.app->workbench().compare_window();
       }},
      {"map advisor",
       [](ConsoleRig& rig) -> QWidget* {
         rig.app->advisor_tools().ShowAdvisor();
         return rig.app->advisor_tools().advisor();
       }},
      {"about",
       [](ConsoleRig& rig) -> QWidget* {
         rig.Trigger("menu_about");
         return &rig.app->about();
       }},
  };
  return windows;
}

// One line per text; cells of a family ("map_data_17") say it once, and
// the serial ports of this machine are left out.
void Add(std::string& out, const QObject* owner, const char* kind,
         const QString& text) {
  QString name = owner->objectName();
  if (text.trimmed().isEmpty() || name.startsWith("menu_comm_port_")) return;
  name.replace(QRegularExpression("_\\d+$"), "_*");
  QString line = QString("  %1 %2: %3").arg(kind, name, text);
  const std::string kept = line.replace('\n', "\\n").toStdString() + "\n";
  if (out.find(kept) == std::string::npos) out += kept;
}

void AddEntries(std::string& out, const QList<QAction*>& entries) {
  for (const QAction* entry : entries) {
    const QObject* owner =
        entry->menu() ? static_cast<const QObject*>(entry->menu()) : entry;
    Add(out, owner, entry->menu() ? "menu" : "entry", entry->text());
    if (entry->menu()) AddEntries(out, entry->menu()->actions());
  }
}

// The menus in the order of their bar, then every control in creation
// order. Values (line edits, read-outs) are left out: they follow the
// engine.
std::string TextsOf(const QWidget* window) {
  std::string out;
  Add(out, window, "title", window->windowTitle());
  for (const QMenuBar* bar : window->findChildren<QMenuBar*>()) {
    AddEntries(out, bar->actions());
  }
  for (const QWidget* control : window->findChildren<QWidget*>()) {
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
      if (!label->objectName().isEmpty()) continue;  // a read-out
      Add(out, label, "label", label->text());
    } else if (const auto* button =
                   qobject_cast<const QAbstractButton*>(control)) {
      Add(out, button, "button", button->text());
    } else if (const auto* group = qobject_cast<const QGroupBox*>(control)) {
      Add(out, group, "group", group->title());
    }
    Add(out, control, "tip", control->toolTip());
  }
  return out;
}

TEST(WindowTextsTest, EveryWindowShowsTheWordsItShowedBefore) {
  std::string shown;
  for (const Opening& opening : Windows()) {
    ConsoleRig rig({"demo"});
    QWidget* window = opening.open(rig);
    ASSERT_NE(window, nullptr) << opening.name;
    shown += std::string("[") + opening.name + "]\n" + TextsOf(window);
  }
  const std::string path = ECU_SOURCE_DIR "/tests/ui/window_texts.txt";
  if (std::getenv("ECU_WRITE_WINDOW_TEXTS") != nullptr) {
    std::ofstream(path) << shown;
  }
  std::stringstream kept;
  kept << std::ifstream(path).rdbuf();
  EXPECT_EQ(shown, kept.str());
}

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

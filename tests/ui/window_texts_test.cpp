// The words of every window, as the tuner reads them: titles, captions,
// buttons, menus and tool tips, kept in window_texts.txt beside this file.
// A changed word fails here; after a deliberate change, run the test with
// ECU_WRITE_WINDOW_TEXTS=1 and read the difference before committing it.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QRegularExpression>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "ui/window_openings.h"

namespace ecu::testing {
namespace {

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

}  // namespace
}  // namespace ecu::testing

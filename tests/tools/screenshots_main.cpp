// Renders the console's windows offscreen, in demo mode, into PNG files for
// the documentation: ecu-screenshots OUTPUT_FOLDER [WINDOW...]

#include <QApplication>
#include <QDir>
#include <QWidget>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "ui/about_window.h"
#include "ui/console_rig.h"
#include "ui/monitor_window.h"

namespace {

struct Shot {
  const char* name;
  std::function<QWidget*(ecu::testing::ConsoleRig&)> prepare;
};

const std::vector<Shot>& Shots() {
  static const std::vector<Shot> shots = {
      {"main-window",
       [](ecu::testing::ConsoleRig& rig) -> QWidget* {
         return &rig.app->main_window();
       }},
      {"monitor",
       [](ecu::testing::ConsoleRig& rig) -> QWidget* {
         rig.Trigger("Menu_View_Monitor");
         rig.StartLoop();
         rig.Ticks(3);
         return &rig.app->monitor();
       }},
      {"about",
       [](ecu::testing::ConsoleRig& rig) -> QWidget* {
         rig.Trigger("menu_about");
         rig.app->commands().ReadIdentification();
         return &rig.app->about();
       }},
  };
  return shots;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: ecu-screenshots OUTPUT_FOLDER [WINDOW...]\n");
    return 2;
  }
  const QString folder = argv[1];
  QDir().mkpath(folder);
  std::vector<std::string> wanted(argv + 2, argv + argc);
  int failures = 0;
  for (const Shot& shot : Shots()) {
    if (!wanted.empty() &&
        std::find(wanted.begin(), wanted.end(), shot.name) == wanted.end()) {
      continue;
    }
    ecu::testing::ConsoleRig rig({"demo"});
    QWidget* window = shot.prepare(rig);
    QApplication::processEvents();
    const QString path = folder + "/" + shot.name + ".png";
    if (window == nullptr || !window->grab().save(path)) {
      std::fprintf(stderr, "could not render %s\n", shot.name);
      ++failures;
    } else {
      std::printf("%s\n", path.toLocal8Bit().constData());
    }
  }
  return failures == 0 ? 0 : 1;
}

#ifndef ECU_TESTS_UI_CONSOLE_RIG_H_
#define ECU_TESTS_UI_CONSOLE_RIG_H_

#include <QAction>
#include <QApplication>
#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "qt/qt_event_pump.h"
#include "support/fake_clock.h"
#include "support/scripted_prompts.h"
#include "support/slip_guard.h"
#include "support/temp_folder.h"
#include "support/virtual_line_port.h"
#include "ui/console_app.h"
#include "ui/main_window.h"
#include "ui/view_window.h"

namespace ecu::testing {

// The backgrounds of a changed and of a confirmed cell.
inline const QColor kYellowMark(255, 255, 0);
inline const QColor kWhiteMark(255, 255, 255);
inline QColor Background(const QWidget* box) {
  return box->palette().color(QPalette::Base);
}
// The captions of a menu bar's entries, or of a menu's.
inline QStringList Captions(const QWidget* bar) {
  QStringList captions;
  for (const QAction* a : bar->actions()) captions << a->text();
  return captions;
}
// Types over a box's text, as the user selecting it and typing.
inline void TypeOver(QLineEdit* box, const QString& text) {
  box->setFocus();
  box->selectAll();
  QTest::keyClicks(box, text);
}

// The whole console, offscreen, over the virtual ECU in virtual time (real
// Qt events), with scripted message boxes. Start-up files go in a fresh
// folder.
class ConsoleRig {
 public:
  explicit ConsoleRig(std::vector<std::string> arguments = {},
                      const std::vector<std::string>& files = {},
                      sim::SimOptions options = {})
      : port(clock, options) {
    folder_.Write("port.cfg", "/dev/virtual\n");
    for (const std::string& name : files) folder_.Write(name, "");
    app = std::make_unique<ConsoleApp>(
        ConsolePlatform{port, clock, prompts, pump, {}}, arguments,
        ConsoleFolders{folder_.path(), folder_.path()});
    slips = std::make_unique<SlipGuard>(app->context().link);
    app->main_window().show();
  }
  ~ConsoleRig() {
    slips.reset();
    app.reset();
  }

  EcuContext& ctx() { return app->context(); }
  // Where port.cfg and the start-up files are.
  std::string config_folder() const { return folder_.path(); }

  // A control by objectName in one window.
  template <typename T>
  static T* FindIn(QWidget* window, const QString& name) {
    if (window->objectName() == name) return qobject_cast<T*>(window);
    return window->findChild<T*>(name);
  }
  // A control by objectName anywhere in the console's windows, visible
  // windows first: several windows share control names (Command3d1,
  // menu_file_exit), so prefer FindIn where it matters.
  template <typename T>
  T* Find(const QString& name) {
    for (bool visible : {true, false}) {
      for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->isVisible() != visible) continue;
        if (T* found = FindIn<T>(top, name)) return found;
      }
    }
    return nullptr;
  }
  // Triggers a menu entry by objectName (visible windows first).
  bool Trigger(const QString& name) { return Fire(Find<QAction>(name)); }
  bool TriggerIn(QWidget* window, const QString& name) {
    return Fire(FindIn<QAction>(window, name));
  }
  QString Text(const QString& label) {
    QLabel* l = Find<QLabel>(label);
    return l ? l->text() : QString("<missing %1>").arg(label);
  }
  std::vector<std::string> TakeRequests() { return port.TakeRequests(); }
  std::vector<int> TakeCodes() { return port.TakeCodes(); }
  // Runs the loop's turns with a poll tick before each, as the timers would.
  void Ticks(int count) {
    for (int i = 0; i < count; ++i) {
      ctx().console.poll_tick = true;
      ctx().console.display_tick = true;
      app->loop().Step();
    }
  }
  // A view window opened from its View menu entry, the loop started and the
  // events that fill the window served. With `loop_first` the loop runs
  // (its requests forgotten) before the window is opened, as when the user
  // opens a second one.
  template <typename W = QWidget>
  W* OpenView(const char* entry, View view, bool loop_first = false) {
    if (loop_first) {
      ctx().link.EnsureLink();
      EXPECT_TRUE(StartLoop());
      port.ClearWritten();
    }
    EXPECT_TRUE(Trigger(entry));
    if (!loop_first) {
      EXPECT_TRUE(StartLoop());
    }
    QApplication::processEvents();
    return static_cast<W*>(app->WindowOf(view));
  }
  // Serves events until the link has been made ready, then runs the start
  // steps of the loop.
  bool StartLoop() {
    static const bool never = false;
    return app->loop().Start(never);
  }

  FakeClock clock;
  VirtualLinePort port;
  ScriptedPrompts prompts;
  QtEventPump pump;
  std::unique_ptr<ConsoleApp> app;
  std::unique_ptr<SlipGuard> slips;

 private:
  static bool Fire(QAction* action) {
    if (action == nullptr) return false;
    action->trigger();
    return true;
  }

  TempFolder folder_;
};

}  // namespace ecu::testing

#endif  // ECU_TESTS_UI_CONSOLE_RIG_H_

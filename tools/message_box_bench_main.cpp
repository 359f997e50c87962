// Heap kept per message box: shows the console's warning box N times (each
// answered with Return, as bench/soak.sh does) and prints the heap in use
// after the first and the last tenth. Runs on the real platform (X), where
// the style gives dialog buttons icons. ecu-message-box-bench [N]

#include <malloc.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "qt/qt_prompts.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int boxes = argc > 1 ? std::max(20, std::atoi(argv[1])) : 400;
  QMainWindow main;
  main.resize(600, 400);
  main.show();
  ecu::QtPrompts prompts;
  prompts.set_parent(&main);
  ecu::Message box;
  box.text =
      "Warning, comm non-response.  Maximum retries exceeded.   Expected 25 "
      "bytes, received 0";
  box.icon = ecu::Icon::kExclamation;
  size_t warm = 0;
  for (int i = 1; i <= boxes; ++i) {
    QTimer::singleShot(20, [] {
      QWidget* shown = QApplication::activeModalWidget();
      if (shown == nullptr) return;
      QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
      QApplication::sendEvent(shown, &enter);
    });
    prompts.Show(box);
    app.processEvents();
    if (i == boxes / 10) warm = mallinfo2().uordblks;
  }
  const size_t end = mallinfo2().uordblks;
  const int counted = boxes - boxes / 10;
  std::printf(
      "message boxes on %s: heap in use %.1f KB after %d boxes, %.1f KB "
      "after %d: %.0f bytes kept per box (target under 500)\n",
      qPrintable(QApplication::platformName()), warm / 1024.0, boxes / 10,
      end / 1024.0, boxes,
      (static_cast<double>(end) - static_cast<double>(warm)) / counted);
  return 0;
}

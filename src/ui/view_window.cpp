#include "ui/view_window.h"

#include <QCloseEvent>
#include <QMenuBar>

#include "ui/view_catalogue.h"

namespace ecu {

ViewWindow::ViewWindow(View view, Views& views, QWidget* parent)
    : QMainWindow(parent), views_(views), view_(view) {
  const ViewEntry& entry = EntryFor(view);
  setObjectName(
      QString::fromUtf8(entry.window_name.data(),
                        static_cast<qsizetype>(entry.window_name.size())));
  setWindowTitle(entry.title);
}

void ViewWindow::Exit() {
  if (!CanClose()) return;
  closing_as_view_ = true;
  views_.CloseView(view_);
  closing_as_view_ = false;
}

void ViewWindow::AddFileMenu(const char* menu_name, const char* exit_name) {
  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName(menu_name);
  QAction* exit = file->addAction("e&xit");
  exit->setObjectName(exit_name);
  connect(exit, &QAction::triggered, this, [this] { Exit(); });
}

void ViewWindow::AddSwitchEntries() {
  for (View target : kSwitchOrder) {
    if (target == view_ || !views_.host().HasView(target)) continue;
    const ViewEntry& entry = EntryFor(target);
    QAction* action = menuBar()->addAction(entry.switch_caption);
    action->setObjectName(entry.switch_name);
    connect(action, &QAction::triggered, this, [this, target] {
      views_.RequestSwitch(target);
      Exit();
    });
  }
  AddLastMenus();
  // Wide enough for every menu entry, so none hides behind an overflow.
  const int menu_width = menuBar()->sizeHint().width();
  if (minimumWidth() < menu_width) setMinimumWidth(menu_width);
}

void ViewWindow::closeEvent(QCloseEvent* event) {
  if (closing_as_view_) {
    event->accept();
    return;
  }
  // The close box runs the exit steps.
  event->ignore();
  Exit();
}

}  // namespace ecu

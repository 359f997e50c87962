#include "ui/editor_window.h"

#include <QCloseEvent>
#include <QHideEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShowEvent>

#include "ui/widgets/redo_keys.h"

namespace ecu {

void EditorWindow::AddFileAndUpdateMenus() {
  AddFileMenu();
  AddMenuEntry("&Update", "menuupdate", [this] { RequestUpdate(); });
}

void EditorWindow::AddMenuEntry(const char* text, const char* name,
                                std::function<void()> action) {
  QAction* entry = menuBar()->addAction(text);
  entry->setObjectName(name);
  connect(entry, &QAction::triggered, this, std::move(action));
}

QHBoxLayout* EditorWindow::AddUpdateExitButtons(QWidget* parent,
                                                const char* update_name,
                                                const char* exit_name) {
  auto* update = new QPushButton("Update", parent);
  update->setObjectName(update_name);
  update->setToolTip("Click to update modified entries");
  auto* exit = new QPushButton("Exit", parent);
  exit->setObjectName(exit_name);
  exit->setToolTip("Click to exit back to the console");
  connect(update, &QPushButton::clicked, this, [this] { RequestUpdate(); });
  connect(exit, &QPushButton::clicked, this, [this] { Exit(); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(update);
  buttons->addWidget(exit);
  return buttons;
}

void EditorWindow::ShowEnabled(bool enabled) {
  centralWidget()->setEnabled(enabled);
  menuBar()->setEnabled(enabled);
}

void EditorWindow::showEvent(QShowEvent* event) {
  ViewWindow::showEvent(event);
  if (!event->spontaneous()) Shown();
}

void EditorWindow::hideEvent(QHideEvent* event) {
  if (!event->spontaneous()) Hidden();
  ViewWindow::hideEvent(event);
}

void EditorWindow::closeEvent(QCloseEvent* event) {
  ViewWindow::closeEvent(event);
  // The close box destroys the window: the next opening reads it afresh.
  if (!isVisible()) Discard();
}

void EditorWindow::AddLastMenus() {
  QMenu* menu = menuBar()->addMenu("&Edit");
  menu->setObjectName("menu_edit");
  QAction* undo = menu->addAction("&Undo");
  undo->setObjectName("menu_edit_undo");
  undo->setShortcuts(QKeySequence::Undo);
  connect(undo, &QAction::triggered, this, [this] { UndoCells().Undo(); });
  QAction* redo = menu->addAction("&Redo");
  redo->setObjectName("menu_edit_redo");
  redo->setShortcuts(RedoShortcuts());
  connect(redo, &QAction::triggered, this, [this] { UndoCells().Redo(); });
}

}  // namespace ecu

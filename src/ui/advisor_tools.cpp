#include "ui/advisor_tools.h"

#include <QMenu>

#include "ui/log_viewer_window.h"
#include "ui/main_window.h"
#include "ui/window_placement.h"

namespace ecu {

AdvisorTools::AdvisorTools(EcuContext& ctx, MainWindow& main) : ctx_(ctx) {
  if (auto* file = main.findChild<QMenu*>("menu_file")) {
    QAction* open = file->addAction("Open Data &Log...");
    open->setObjectName("menu_file_open_log");
    connect(open, &QAction::triggered, this, &AdvisorTools::ShowLogViewer);
  }
}

AdvisorTools::~AdvisorTools() = default;

LogViewerWindow& AdvisorTools::Viewer() {
  if (!log_viewer_) {
    // The grid follows the console's scaling; the log does not record it.
    log_viewer_ = std::make_unique<LogViewerWindow>(ctx_.prompts, [this] {
      return MapAxesOf(ctx_.live, (ctx_.image.scalar("OPTIONS") & 1) != 0);
    });
  }
  return *log_viewer_;
}

void AdvisorTools::ShowLogViewer() {
  LogViewerWindow& viewer = Viewer();
  ShowPlaced(&viewer);
  viewer.raise();
  if (viewer.model().empty()) viewer.AskForLog();
}

void AdvisorTools::ViewLog(const std::string& path) {
  LogViewerWindow& viewer = Viewer();
  ShowPlaced(&viewer);
  viewer.raise();
  viewer.OpenLog(path);
}

}  // namespace ecu

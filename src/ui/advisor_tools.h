#ifndef ECU_UI_ADVISOR_TOOLS_H_
#define ECU_UI_ADVISOR_TOOLS_H_

#include <QObject>
#include <memory>
#include <string>

#include "core/ecu_context.h"

namespace ecu {

class LogViewerWindow;
class MainWindow;

// The map advisor beside the described console: the log viewer ("Open
// Data Log..." at the end of the main window's File menu), made on first
// use.
class AdvisorTools : public QObject {
  Q_OBJECT

 public:
  AdvisorTools(EcuContext& ctx, MainWindow& main);
  ~AdvisorTools() override;

  // "Open Data Log...": the viewer, asking for a log when it shows none.
  void ShowLogViewer();
  // Shows the viewer with the log at `path` (a file named on the command
  // line).
  void ViewLog(const std::string& path);
  LogViewerWindow* log_viewer() { return log_viewer_.get(); }

 private:
  LogViewerWindow& Viewer();

  EcuContext& ctx_;
  std::unique_ptr<LogViewerWindow> log_viewer_;
};

}  // namespace ecu

#endif  // ECU_UI_ADVISOR_TOOLS_H_

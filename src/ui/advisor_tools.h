#ifndef ECU_UI_ADVISOR_TOOLS_H_
#define ECU_UI_ADVISOR_TOOLS_H_

#include <QObject>
#include <memory>
#include <optional>
#include <string>

#include "core/advisor/advisor_model.h"
#include "core/ecu_context.h"

namespace ecu {

class AdvisorWindow;
class ConsoleApp;
class FuelMapWindow;
class LogViewerWindow;

// The map advisor beside the standard console: the log viewer ("Open
// Data Log..." at the end of the main window's File menu) and the advisor
// window (from the viewer, and from an "Advisor" menu after Basic
// Mapping's), each made on first use.
class AdvisorTools : public QObject {
  Q_OBJECT

 public:
  explicit AdvisorTools(ConsoleApp& app);
  ~AdvisorTools() override;

  // "Open Data Log...": the viewer, asking for a log when it shows none.
  void ShowLogViewer();
  // Shows the viewer with the log at `path` (a file named on the command
  // line).
  void ViewLog(const std::string& path);
  LogViewerWindow* log_viewer() { return log_viewer_.get(); }
  // The advisor, with the viewer's log when it shows one.
  void ShowAdvisor();
  AdvisorWindow* advisor() { return advisor_.get(); }

 private:
  LogViewerWindow& Viewer();
  AdvisorWindow& Advisor();
  FuelMapWindow* BasicMapping() const;
  std::optional<std::array<AdvisorModel::MapCell, kMapCellCount>> ReadMap()
      const;
  MapAxes Axes() const;

  ConsoleApp& app_;
  EcuContext& ctx_;
  std::unique_ptr<LogViewerWindow> log_viewer_;
  std::unique_ptr<AdvisorWindow> advisor_;
};

}  // namespace ecu

#endif  // ECU_UI_ADVISOR_TOOLS_H_

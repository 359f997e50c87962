#ifndef ECU_UI_LOG_VIEWER_WINDOW_H_
#define ECU_UI_LOG_VIEWER_WINDOW_H_

#include <QCheckBox>
#include <QLabel>
#include <QMainWindow>
#include <array>
#include <functional>

#include "core/advisor/log_view_model.h"
#include "core/platform/prompts.h"
#include "ui/widgets/log_chart.h"
#include "ui/widgets/map_grid.h"

namespace ecu {

// "Data Log Viewer": a data log's nine columns against time with a channel
// list, zoom and pan, a cursor reading every channel, and the fuel map's
// cells coloured by how often the engine ran in each. A view of
// LogViewModel; it opens files through the console's prompts.
class LogViewerWindow : public QMainWindow {
  Q_OBJECT

 public:
  LogViewerWindow(Prompts& prompts, std::function<MapAxes()> axes);

  // Opens a log; a file that cannot be read is told and the log shown
  // stays. False then.
  bool OpenLog(const std::string& path);
  // File menu "Open Data Log...": asks for the file.
  void AskForLog();

  LogViewModel& model() { return model_; }
  LogChart* chart() const { return chart_; }
  MapGrid* hit_grid() const { return hits_; }
  // "Advise..." hands the log to the map advisor.
  void set_advise(std::function<void(const DataLog&)> advise) {
    advise_ = std::move(advise);
  }
  // The console's mixture units, followed whenever the window is shown or
  // comes to the front.
  void set_units(std::function<MixtureUnits()> units) {
    units_ = std::move(units);
  }

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QWidget* BuildChannelList(QWidget* parent);
  // Follow the model.
  void ShowLog();
  void ShowCursor();
  void FollowUnits();

  Prompts& prompts_;
  std::function<MapAxes()> axes_;
  std::function<void(const DataLog&)> advise_;
  std::function<MixtureUnits()> units_;
  LogViewModel model_;
  LogChart* chart_ = nullptr;
  MapGrid* hits_ = nullptr;
  QLabel* summary_ = nullptr;
  QLabel* cursor_time_ = nullptr;
  QAction* advise_entry_ = nullptr;
  std::array<QCheckBox*, kLogChannels> channels_{};
  std::array<QLabel*, kLogChannels> values_{};
};

}  // namespace ecu

#endif  // ECU_UI_LOG_VIEWER_WINDOW_H_

#ifndef ECU_UI_PLOTTER_WINDOW_H_
#define ECU_UI_PLOTTER_WINDOW_H_

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <functional>

#include "core/ecu_context.h"
#include "core/readouts/plotter_model.h"
#include "ui/view_window.h"
#include "ui/widgets/strip_chart.h"

namespace ecu {

// frm_plotter, "Data Plotter": the strip chart of eight live channels and
// the data log. Renders PlotterModel and forwards the user's actions to it.
class PlotterWindow : public ViewWindow {
  Q_OBJECT

 public:
  // `set_log_interval` reaches the main window's LogTimer.
  PlotterWindow(EcuContext& ctx, Views& views,
                std::function<void(int ms)> set_log_interval);

  void TakeSample() override;
  void RefreshDisplay() override;
  void UnitsChanged() override {
    model_.UnitsChanged();
    Render();
  }

  PlotterModel& model() { return model_; }
  StripChart& chart() { return *chart_; }

 protected:
  bool CanClose() override { return model_.CanExit(); }
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void BuildMenus();
  QWidget* BuildChannelPanel(QWidget* parent);
  QLayout* BuildLogRow(QWidget* parent);
  // Brings every control in line with the model.
  void Render();
  // The chart and the counts after new samples.
  void ShowSamples();

  EcuContext& ctx_;
  PlotterModel model_;
  StripChart* chart_ = nullptr;
  std::array<QCheckBox*, kPlotterChannels> channels_{};
  // The standard intervals, then "Fastest".
  std::array<QAction*, kLogIntervals.size() + 1> intervals_{};
  QLineEdit* plot_file_ = nullptr;
  QLabel* file_samples_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* stop_ = nullptr;
  bool samples_unshown_ = false;
};

}  // namespace ecu

#endif  // ECU_UI_PLOTTER_WINDOW_H_

#ifndef ECU_UI_DASHBOARD_WINDOW_H_
#define ECU_UI_DASHBOARD_WINDOW_H_

#include <QAction>
#include <QLabel>
#include <QPixmap>
#include <QRadioButton>
#include <array>

#include "core/ecu_context.h"
#include "core/readouts/dashboard_model.h"
#include "ui/view_window.h"
#include "ui/widgets/cell_grid.h"
#include "ui/widgets/gauge.h"
#include "ui/widgets/lamp_row.h"

namespace ecu {

// frm_dashboard, "Dashboard": the engine as an instrument panel. Renders
// DashboardModel and forwards the user's actions to it.
class DashboardWindow : public ViewWindow {
  Q_OBJECT

 public:
  DashboardWindow(EcuContext& ctx, Views& views, const QPixmap& oem_picture);

  void AfterPollingPass() override { model_.Refresh(); }

  DashboardModel& model() { return model_; }
  Gauge& gauge(const char* name) const;
  LampRow& lamps() const { return *lamps_; }
  void UnitsChanged() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void BuildMenus();
  QWidget* BuildGauges(QWidget* parent);
  QWidget* BuildMixture(QWidget* parent);
  QWidget* BuildControls(QWidget* parent, const QPixmap& oem_picture);
  Gauge* AddGauge(const char* name, const QStringList& caption, int decimals,
                  QWidget* parent);
  void Render();

  DashboardModel model_;
  CellBoxes boxes_;
  std::array<Gauge*, 5> gauges_{};
  LampRow* lamps_ = nullptr;
  std::array<QLabel*, 3> mixture_marks_{};  // over the lamps, lean first
  QLabel* ego_gain_ = nullptr;
  std::array<QRadioButton*, 2> ego_sw_{};
  std::array<QAction*, kTachFilterFactors.size()> tach_filters_{};
};

}  // namespace ecu

#endif  // ECU_UI_DASHBOARD_WINDOW_H_

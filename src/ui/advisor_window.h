#ifndef ECU_UI_ADVISOR_WINDOW_H_
#define ECU_UI_ADVISOR_WINDOW_H_

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <functional>
#include <optional>

#include "core/advisor/advisor_model.h"
#include "core/platform/prompts.h"
#include "core/units/mixture_units.h"
#include "ui/widgets/map_grid.h"

namespace ecu {

// What the advisor window reaches beyond itself.
struct AdvisorHooks {
  // Basic Mapping's cells; nothing while that window has not read the map.
  std::function<
      std::optional<std::array<AdvisorModel::MapCell, kMapCellCount>>()>
      read_map;
  // Puts the proposals into Basic Mapping as changed, unsent cells.
  std::function<void(const std::vector<CellProposal>&)> apply;
  // Opens Basic Mapping (which reads the map from the ECU).
  std::function<void()> open_map;
  // The console's scaling now.
  std::function<MapAxes()> axes;
  // The EGO set points, read from the ECU; `done` gets nothing when they
  // could not be read.
  std::function<void(
      std::function<void(
          std::optional<std::array<std::optional<double>, kEgoSetPointCount>>)>
          done)>
      read_ego_set_points;
  // The console's mixture units: the fixed target is shown and typed in
  // them.
  std::function<MixtureUnits()> units;
};

// "Map Advisor": the map Basic Mapping shows beside the one the logs
// propose, coloured by change, the samples near each cell, and the filter
// settings. "Apply" hands the proposal to Basic Mapping as changed cells
// for its Update; this window sends nothing. A view of AdvisorModel.
class AdvisorWindow : public QMainWindow {
  Q_OBJECT

 public:
  AdvisorWindow(Prompts& prompts, AdvisorHooks hooks);

  // Advises from these logs (those shown before are dropped).
  void AdviseFrom(std::vector<DataLog> logs);
  // Reads Basic Mapping's cells and the settings again, and works the
  // advice out.
  void Recompute();
  void Apply();

  AdvisorModel& model() { return model_; }
  MapGrid* current_grid() const { return current_; }
  MapGrid* proposed_grid() const { return proposed_; }
  MapGrid* hit_grid() const { return hits_; }

 protected:
  void showEvent(QShowEvent* event) override;
  // Back from Basic Mapping: its cells may have been read or edited.
  void changeEvent(QEvent* event) override;

 private:
  QWidget* BuildSettings(QWidget* parent);
  QDoubleSpinBox* Setting(const char* name, double low, double high,
                          int decimals, double value, QWidget* parent);
  void AskForLog();
  void TargetChosen();
  void Show();
  void FollowUnits();

  Prompts& prompts_;
  AdvisorHooks hooks_;
  AdvisorModel model_;
  bool map_read_ = false;
  QDoubleSpinBox* min_clt_ = nullptr;
  QDoubleSpinBox* max_tps_rate_ = nullptr;
  QDoubleSpinBox* settle_ = nullptr;
  QDoubleSpinBox* min_samples_ = nullptr;
  QDoubleSpinBox* max_change_ = nullptr;
  QCheckBox* spread_ = nullptr;
  QCheckBox* fill_ = nullptr;
  QComboBox* target_ = nullptr;
  QDoubleSpinBox* target_lambda_ = nullptr;
  QLabel* target_caption_ = nullptr;
  // The units target_lambda_ shows.
  MixtureUnits target_units_;
  std::optional<std::array<std::optional<double>, kEgoSetPointCount>> ego_;
  MapGrid* current_ = nullptr;
  MapGrid* proposed_ = nullptr;
  MapGrid* hits_ = nullptr;
  QLabel* summary_ = nullptr;
  QPushButton* apply_ = nullptr;
  QPushButton* open_map_ = nullptr;
};

}  // namespace ecu

#endif  // ECU_UI_ADVISOR_WINDOW_H_

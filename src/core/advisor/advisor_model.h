#ifndef ECU_CORE_ADVISOR_ADVISOR_MODEL_H_
#define ECU_CORE_ADVISOR_ADVISOR_MODEL_H_

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/advisor/grid_cells.h"
#include "core/advisor/map_advisor.h"
#include "core/units/mixture_units.h"

namespace ecu {

// A proposed value for one Basic Mapping cell, as the cell would show it.
struct CellProposal {
  int cell = 0;
  std::string text;
};

// The map advisor window: one or more logs against the map Basic Mapping
// shows, the filter settings and the lambda target, and what comes of
// them: the current and proposed maps side by side, coloured by change,
// the samples near each cell, and the values Apply hands to Basic Mapping.
// It sends nothing.
class AdvisorModel {
 public:
  void ClearLogs() { logs_.clear(); }
  void AddLog(DataLog log) { logs_.push_back(std::move(log)); }
  const std::vector<DataLog>& logs() const { return logs_; }

  // Basic Mapping's cells. Only a value the ECU confirmed counts: an empty
  // cell, or one marked changed (not yet read, or an edit not yet sent),
  // is not the map the logs were driven on, and is left alone.
  struct MapCell {
    std::string text;
    bool confirmed = false;
  };
  void SetMap(const std::array<MapCell, kMapCellCount>& cells);
  void set_axes(const MapAxes& axes) { axes_ = axes; }
  const MapAxes& axes() const { return axes_; }
  void set_target(const LambdaTarget& target) { target_ = target; }
  const LambdaTarget& target() const { return target_; }
  void set_settings(const AdvisorSettings& settings) { settings_ = settings; }
  const AdvisorSettings& settings() const { return settings_; }
  // How the tips and summary show mixture; the advice is lambda throughout.
  void set_units(const MixtureUnits& units) { units_ = units; }

  // Works the advice out again from all of the above.
  void Recompute();
  const Advice& advice() const { return advice_; }

  // The map as Basic Mapping shows it; cells the advisor cannot use grey.
  MapGridCells CurrentGrid() const;
  // The proposal: red where the map ran lean (more fuel), blue where it ran
  // rich (less), deeper for a larger change; framed where the change was
  // held at the most a pass may move; grey without enough samples.
  MapGridCells ProposedGrid() const;
  // The samples' worth near each cell.
  MapGridCells HitGrid() const;
  // What Apply writes: each cell whose shown text would change.
  std::vector<CellProposal> Proposals() const;
  // "12 of 256 cells changed ...; lambda off target by ...".
  std::string Summary() const;
  // What became of a cell and why.
  std::string CellTip(int cell) const;

 private:
  // The text Basic Mapping would show for a proposed gain, when it differs
  // from what the cell shows now.
  std::optional<std::string> ProposedText(int cell) const;

  std::vector<DataLog> logs_;
  std::array<MapCell, kMapCellCount> map_{};
  MapAxes axes_;
  LambdaTarget target_{.fixed = 1.0};
  AdvisorSettings settings_;
  MixtureUnits units_;
  Advice advice_;
  MapError error_;
};

}  // namespace ecu

#endif  // ECU_CORE_ADVISOR_ADVISOR_MODEL_H_

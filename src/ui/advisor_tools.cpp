#include "ui/advisor_tools.h"

#include <QMenu>
#include <QMenuBar>

#include "core/calibration/calibration_reads.h"
#include "core/calibration/scaling.h"
#include "ui/advisor_window.h"
#include "ui/console_app.h"
#include "ui/fuel_map_window.h"
#include "ui/log_viewer_window.h"
#include "ui/main_window.h"
#include "ui/window_placement.h"

namespace ecu {

AdvisorTools::AdvisorTools(ConsoleApp& app) : app_(app), ctx_(app.context()) {
  if (auto* file = app.main_window().findChild<QMenu*>("menu_file")) {
    QAction* open = file->addAction("Open Data &Log...");
    open->setObjectName("menu_file_open_log");
    connect(open, &QAction::triggered, this, &AdvisorTools::ShowLogViewer);
  }
  if (FuelMapWindow* map = BasicMapping()) {
    QMenu* menu = map->menuBar()->addMenu("&Advisor");
    menu->setObjectName("menuadvisor");
    QAction* open = menu->addAction("Map &Advisor...");
    open->setObjectName("menuadvisoropen");
    connect(open, &QAction::triggered, this, &AdvisorTools::ShowAdvisor);
    QAction* log = menu->addAction("Open Data &Log...");
    log->setObjectName("menuadvisorlog");
    connect(log, &QAction::triggered, this, &AdvisorTools::ShowLogViewer);
    const int menu_width = map->menuBar()->sizeHint().width();
    if (map->minimumWidth() < menu_width) map->setMinimumWidth(menu_width);
  }
}

AdvisorTools::~AdvisorTools() = default;

FuelMapWindow* AdvisorTools::BasicMapping() const {
  return static_cast<FuelMapWindow*>(app_.WindowOf(View::kFuelMap));
}

MapAxes AdvisorTools::Axes() const {
  // The log does not record the scaling: the console's own.
  return MapAxesOf(ctx_.live, (ctx_.image.scalar("OPTIONS") & 1) != 0);
}

std::optional<std::array<AdvisorModel::MapCell, kMapCellCount>>
AdvisorTools::ReadMap() const {
  FuelMapWindow* window = BasicMapping();
  if (window == nullptr || !window->editor().activated()) return std::nullopt;
  const TableEditor& cells = window->editor().cells();
  std::array<AdvisorModel::MapCell, kMapCellCount> map;
  for (int i = 0; i < kMapCellCount; ++i) {
    const EditorCell& cell = cells.cell({kMapCells, i});
    map[static_cast<size_t>(i)] = {cell.text, !cell.changed()};
  }
  return map;
}

LogViewerWindow& AdvisorTools::Viewer() {
  if (!log_viewer_) {
    log_viewer_ = std::make_unique<LogViewerWindow>(ctx_.prompts,
                                                    [this] { return Axes(); });
    log_viewer_->set_units([this] { return ctx_.units; });
    log_viewer_->set_advise([this](const DataLog& log) {
      AdvisorWindow& advisor = Advisor();
      advisor.AdviseFrom({log});
      ShowPlaced(&advisor);
      advisor.raise();
    });
  }
  return *log_viewer_;
}

AdvisorWindow& AdvisorTools::Advisor() {
  if (advisor_) return *advisor_;
  AdvisorHooks hooks;
  hooks.read_map = [this] { return ReadMap(); };
  hooks.apply = [this](const std::vector<CellProposal>& proposals) {
    FuelMapWindow* window = BasicMapping();
    if (window == nullptr) return;
    std::vector<std::pair<int, std::string>> texts;
    for (const CellProposal& p : proposals) texts.emplace_back(p.cell, p.text);
    window->editor().PutMapTexts(texts);
    // Left by its Exit, it keeps its cells: shown again, as its View entry
    // would, the marked cells wait there for its Update.
    if (!window->isVisible()) app_.views().OpenView(View::kFuelMap);
    window->raise();
  };
  hooks.open_map = [this] { app_.views().OpenView(View::kFuelMap); };
  hooks.axes = [this] { return Axes(); };
  hooks.units = [this] { return ctx_.units; };
  hooks.read_ego_set_points = [this](auto done) {
    ctx_.link.RunWhenIdle([this, done] {
      if (ctx_.link.state().demo_mode) {
        done(std::nullopt);
        return;
      }
      const TableItem& table = *FindTable("EGOM");
      CalibrationReads reads(ctx_.link, ctx_.image);
      std::array<std::optional<double>, kEgoSetPointCount> set_points;
      for (int i = 0; i < kEgoSetPointCount; ++i) {
        const std::optional<int32_t> raw = reads.ReadElement(table, i);
        if (!raw) {
          done(std::nullopt);
          return;
        }
        set_points[static_cast<size_t>(i)] =
            RawToValue(table.scaling, *raw, ctx_.live);
      }
      done(set_points);
    });
  };
  advisor_ = std::make_unique<AdvisorWindow>(ctx_.prompts, std::move(hooks));
  return *advisor_;
}

void AdvisorTools::ShowAdvisor() {
  AdvisorWindow& advisor = Advisor();
  // Logs added in the advisor stay; a first opening takes the viewer's.
  if (advisor.model().logs().empty() && log_viewer_ &&
      !log_viewer_->model().empty()) {
    advisor.AdviseFrom({log_viewer_->model().log()});
  }
  ShowPlaced(&advisor);
  advisor.raise();
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

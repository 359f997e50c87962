#include "ui/advisor_window.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/advisor/data_log_dialog.h"
#include "core/advisor/data_log_reader.h"
#include "ui/widgets/qt_text.h"

namespace ecu {
namespace {

constexpr int kFixedLambda = 0;
constexpr int kEgoSetPoints = 1;
// The fixed target's range, in lambda.
constexpr double kLowestTarget = 0.6;
constexpr double kHighestTarget = 1.5;

}  // namespace

AdvisorWindow::AdvisorWindow(Prompts& prompts, AdvisorHooks hooks)
    : prompts_(prompts), hooks_(std::move(hooks)) {
  setObjectName("frm_map_advisor");
  setWindowTitle("Map Advisor");

  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("menu_advisor_file");
  QAction* add = file->addAction("&Add Data Log...");
  add->setObjectName("menu_advisor_add_log");
  connect(add, &QAction::triggered, this, &AdvisorWindow::AskForLog);
  QAction* close_entry = file->addAction("&Close");
  close_entry->setObjectName("menu_advisor_close");
  connect(close_entry, &QAction::triggered, this, &QWidget::close);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->addWidget(BuildSettings(central));
  const auto new_grid = [&](const char* name) {
    auto* grid = new MapGrid(central);
    grid->setObjectName(name);
    grid->set_tip([this](int cell) { return Text(model_.CellTip(cell)); });
    // Room for a gain in every cell beside the load captions.
    grid->setMinimumWidth(
        grid->fontMetrics().horizontalAdvance("0.00") * (kMapColumns + 4) + 24);
    return grid;
  };
  // Two grids side by side fit a laptop's screen: the map as it is and
  // the samples behind it share one place, the proposal has the other.
  auto* grids = new QHBoxLayout;
  auto* now = new QTabWidget(central);
  now->setObjectName("advisor_now");
  current_ = new_grid("advisor_current");
  hits_ = new_grid("advisor_hits");
  now->addTab(current_, "Basic Mapping now");
  now->addTab(hits_, "Samples near each cell");
  grids->addWidget(now, 1);
  auto* proposal = new QVBoxLayout;
  proposal->addWidget(new QLabel("Proposed", central));
  proposed_ = new_grid("advisor_proposed");
  proposal->addWidget(proposed_, 1);
  grids->addLayout(proposal, 1);
  layout->addLayout(grids, 1);

  auto* legend = new QLabel(
      "Red: ran lean, more fuel. Blue: ran rich, less fuel. Deeper for a "
      "larger change; framed: held at the most a pass may change; grey: too "
      "few samples, none, or a value not read from the ECU.",
      central);
  legend->setWordWrap(true);
  layout->addWidget(legend);
  summary_ = new QLabel(central);
  summary_->setObjectName("advisor_summary");
  summary_->setWordWrap(true);
  layout->addWidget(summary_);

  auto* buttons = new QHBoxLayout;
  open_map_ = new QPushButton("Open Basic Mapping", central);
  open_map_->setObjectName("advisor_open_map");
  connect(open_map_, &QPushButton::clicked, this, [this] {
    if (hooks_.open_map) hooks_.open_map();
    Recompute();
  });
  auto* recompute = new QPushButton("Recompute", central);
  recompute->setObjectName("advisor_recompute");
  connect(recompute, &QPushButton::clicked, this, &AdvisorWindow::Recompute);
  apply_ = new QPushButton("Apply", central);
  apply_->setObjectName("advisor_apply");
  apply_->setToolTip(
      "Puts the proposed values into Basic Mapping as changed cells; its "
      "Update sends them");
  connect(apply_, &QPushButton::clicked, this, &AdvisorWindow::Apply);
  auto* close = new QPushButton("Close", central);
  close->setObjectName("advisor_close");
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  buttons->addWidget(open_map_);
  buttons->addStretch();
  buttons->addWidget(recompute);
  buttons->addWidget(apply_);
  buttons->addWidget(close);
  layout->addLayout(buttons);
  setCentralWidget(central);
  Show();
}

QDoubleSpinBox* AdvisorWindow::Setting(const char* name, double low,
                                       double high, int decimals, double value,
                                       QWidget* parent) {
  auto* box = new QDoubleSpinBox(parent);
  box->setObjectName(name);
  box->setRange(low, high);
  box->setDecimals(decimals);
  box->setValue(value);
  box->setKeyboardTracking(false);
  connect(box, &QDoubleSpinBox::valueChanged, this, &AdvisorWindow::Recompute);
  return box;
}

QWidget* AdvisorWindow::BuildSettings(QWidget* parent) {
  const AdvisorSettings defaults;
  auto* group = new QGroupBox("Samples used", parent);
  auto* form = new QGridLayout(group);
  int at = 0;
  // Label and field pairs, three to a row.
  const auto add = [&](const char* label, QWidget* field) {
    const int row = at / 3;
    const int column = at % 3 * 2;
    QLabel* caption = nullptr;
    if (label != nullptr) {
      caption = new QLabel(label, group);
      form->addWidget(caption, row, column);
      form->addWidget(field, row, column + 1);
    } else {
      form->addWidget(field, row, column, 1, 2);
    }
    ++at;
    return caption;
  };
  min_clt_ = Setting("advisor_min_clt", -40, 150, 0, defaults.min_clt_c, group);
  add("Coolant above [C]", min_clt_);
  max_tps_rate_ =
      Setting("advisor_max_tps_rate", 0, 1000, 0, defaults.max_tps_rate, group);
  add("Throttle change below [%/s]", max_tps_rate_);
  settle_ = Setting("advisor_settle", 0, 10, 1, defaults.settle_s, group);
  add("Settle after a change [s]", settle_);
  min_samples_ =
      Setting("advisor_min_samples", 0, 10000, 0, defaults.min_samples, group);
  add("Samples a cell needs", min_samples_);
  max_change_ = Setting("advisor_max_change", 0, 100, 0,
                        defaults.max_change_percent, group);
  add("Most change a pass [%]", max_change_);
  spread_ = new QCheckBox("Share each sample with the 4 cells around", group);
  spread_->setObjectName("advisor_spread");
  spread_->setChecked(defaults.spread_over_neighbours);
  connect(spread_, &QCheckBox::toggled, this, &AdvisorWindow::Recompute);
  add(nullptr, spread_);
  fill_ = new QCheckBox("Fill unvisited cells from their neighbours", group);
  fill_->setObjectName("advisor_fill");
  fill_->setChecked(!defaults.skip_unvisited);
  connect(fill_, &QCheckBox::toggled, this, &AdvisorWindow::Recompute);
  add(nullptr, fill_);
  target_ = new QComboBox(group);
  target_->setObjectName("advisor_target");
  target_->addItems({"Fixed lambda", "EGO set points"});
  connect(target_, &QComboBox::currentIndexChanged, this,
          &AdvisorWindow::TargetChosen);
  add("Lambda target", target_);
  target_lambda_ = Setting("advisor_target_lambda", kLowestTarget,
                           kHighestTarget, 2, 1.0, group);
  target_caption_ = add("Fixed lambda", target_lambda_);
  return group;
}

void AdvisorWindow::AdviseFrom(std::vector<DataLog> logs) {
  model_.ClearLogs();
  for (DataLog& log : logs) model_.AddLog(std::move(log));
  Recompute();
}

void AdvisorWindow::AskForLog() {
  const std::string path = AskForDataLogPath(prompts_);
  if (path.empty()) return;
  DataLog log = ReadDataLogFile(path);
  if (!log.trouble.empty()) {
    prompts_.Tell(log.trouble);
    return;
  }
  model_.AddLog(std::move(log));
  Recompute();
}

void AdvisorWindow::TargetChosen() {
  if (target_->currentIndex() != kEgoSetPoints || !hooks_.read_ego_set_points) {
    Recompute();
    return;
  }
  hooks_.read_ego_set_points([this](auto set_points) {
    ego_ = set_points;
    if (!ego_) {
      prompts_.Tell(
          "The EGO set points could not be read from the ECU; the fixed "
          "lambda is used.");
      target_->setCurrentIndex(kFixedLambda);
      return;
    }
    Recompute();
  });
}

void AdvisorWindow::FollowUnits() {
  const MixtureUnits units = hooks_.units ? hooks_.units() : MixtureUnits{};
  if (units == target_units_) return;
  const double lambda = target_units_.ToLambda(target_lambda_->value());
  const QSignalBlocker quiet(target_lambda_);
  target_lambda_->setRange(units.FromLambda(kLowestTarget),
                           units.FromLambda(kHighestTarget));
  target_lambda_->setValue(units.FromLambda(lambda));
  target_caption_->setText(units.afr ? "Fixed AFR" : "Fixed lambda");
  target_units_ = units;
}

void AdvisorWindow::Recompute() {
  FollowUnits();
  AdvisorSettings settings;
  settings.min_clt_c = min_clt_->value();
  settings.max_tps_rate = max_tps_rate_->value();
  settings.settle_s = settle_->value();
  settings.min_samples = min_samples_->value();
  settings.max_change_percent = max_change_->value();
  settings.spread_over_neighbours = spread_->isChecked();
  settings.skip_unvisited = !fill_->isChecked();
  model_.set_settings(settings);
  model_.set_units(target_units_);
  LambdaTarget target;
  if (target_->currentIndex() == kEgoSetPoints && ego_) {
    target.ego_grid = *ego_;
  } else {
    target.fixed = target_units_.ToLambda(target_lambda_->value());
  }
  model_.set_target(target);
  if (hooks_.axes) model_.set_axes(hooks_.axes());
  std::optional<std::array<AdvisorModel::MapCell, kMapCellCount>> map;
  if (hooks_.read_map) map = hooks_.read_map();
  map_read_ = map.has_value();
  model_.SetMap(map ? *map
                    : std::array<AdvisorModel::MapCell, kMapCellCount>{});
  model_.Recompute();
  Show();
}

void AdvisorWindow::Apply() {
  // Against the cells as they are now: the tuner may have edited them.
  Recompute();
  const std::vector<CellProposal> proposals = model_.Proposals();
  if (proposals.empty() || !hooks_.apply) return;
  hooks_.apply(proposals);
  Recompute();
  summary_->setText(
      QString("%1 cells put into Basic Mapping, marked for its Update. ")
          .arg(proposals.size()) +
      summary_->text());
}

void AdvisorWindow::showEvent(QShowEvent* event) {
  Recompute();
  QMainWindow::showEvent(event);
}

void AdvisorWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    Recompute();
  }
  QMainWindow::changeEvent(event);
}

void AdvisorWindow::Show() {
  const MapAxisLabels labels = AxisLabelsOf(model_.axes());
  for (MapGrid* grid : {current_, proposed_, hits_}) grid->SetAxes(labels);
  current_->SetCells(model_.CurrentGrid());
  proposed_->SetCells(model_.ProposedGrid());
  hits_->SetCells(model_.HitGrid());
  std::string summary = model_.Summary();
  if (!map_read_) {
    summary =
        "Basic Mapping has not read the map from the ECU: open it, then "
        "Recompute. " +
        summary;
  }
  summary_->setText(Text(summary));
  open_map_->setVisible(!map_read_);
  apply_->setEnabled(!model_.Proposals().empty());
}

}  // namespace ecu

#include "ui/workbench.h"

#include <QActionGroup>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <tuple>

#include "qt/present_ports.h"
#include "ui/compare_window.h"
#include "ui/main_window.h"
#include "ui/window_placement.h"

namespace ecu {

namespace {

constexpr double kAnswerSeconds = 0.5;

}  // namespace

Workbench::Workbench(EcuContext& ctx, ConsoleCommands& commands,
                     MainWindow& main, BusyView& busy,
                     std::string config_folder,
                     std::function<void()> units_changed)
    : ctx_(ctx),
      commands_(commands),
      main_(main),
      busy_(busy),
      list_ports_(PresentPorts),
      config_folder_(std::move(config_folder)),
      units_changed_(std::move(units_changed)),
      compare_(ctx.link, ctx.image, ctx.live, busy) {
  if (auto* file = main_.findChild<QMenu*>("menu_file")) {
    QAction* compare = file->addAction("Compare...");
    compare->setObjectName("menu_file_compare");
    connect(compare, &QAction::triggered, this, &Workbench::ShowCompare);
  }
  AddPortEntries();
  ctx_.units = ReadMixtureUnits(config_folder_);
  AddUnitsMenu();
  if (units_changed_) units_changed_();
}

void Workbench::AddUnitsMenu() {
  QMenu* menu = main_.menuBar()->addMenu("&Units");
  menu->setObjectName("menu_units");
  auto* group = new QActionGroup(menu);
  auto add = [&](const QString& caption, const QString& name,
                 const MixtureUnits& units) {
    QAction* entry = menu->addAction(caption);
    entry->setObjectName(name);
    entry->setCheckable(true);
    group->addAction(entry);
    connect(entry, &QAction::triggered, this,
            [this, units] { ChooseUnits(units); });
    unit_entries_.emplace_back(entry, units);
  };
  add("&Lambda", "menu_units_lambda", MixtureUnits{});
  for (const Fuel& fuel : Fuels()) {
    const QString name = QString::fromUtf8(fuel.name.data(), fuel.name.size());
    add(QString("AFR, &%1 (%2)").arg(name).arg(fuel.stoichiometric),
        "menu_units_" + name.toLower(),
        MixtureUnits{true, fuel.stoichiometric});
  }
  typed_ratio_ = menu->addAction("AFR, Other &Ratio...");
  typed_ratio_->setObjectName("menu_units_ratio");
  typed_ratio_->setCheckable(true);
  group->addAction(typed_ratio_);
  connect(typed_ratio_, &QAction::triggered, this,
          &Workbench::ChooseTypedRatio);
  CheckUnits();
}

void Workbench::CheckUnits() {
  bool listed = false;
  for (const auto& [entry, units] : unit_entries_) {
    entry->setChecked(units == ctx_.units);
    listed = listed || units == ctx_.units;
  }
  typed_ratio_->setChecked(!listed);
  typed_ratio_->setText(listed ? QString("AFR, Other &Ratio...")
                               : QString("AFR, Other &Ratio (%1)...")
                                     .arg(ctx_.units.stoichiometric));
}

void Workbench::ChooseUnits(const MixtureUnits& units) {
  ctx_.units = units;
  if (!WriteMixtureUnits(config_folder_, units)) {
    ctx_.prompts.Tell("The units could not be saved in " + config_folder_ +
                      "/" + kUnitsConfigName +
                      "; they hold until the console ends. Check that the "
                      "folder may be written.");
  }
  CheckUnits();
  if (units_changed_) units_changed_();
}

void Workbench::ChooseTypedRatio() {
  bool ok = false;
  const QString text = QInputDialog::getText(
      &main_, "Stoichiometric Ratio",
      "Air/fuel ratio of the fuel at lambda 1 (gasoline 14.7, E85 9.8, "
      "methanol 6.4):",
      QLineEdit::Normal, QString::number(ctx_.units.stoichiometric), &ok);
  if (!ok) {
    CheckUnits();
    return;
  }
  const std::optional<double> ratio =
      ReadStoichiometric(text.trimmed().toStdString());
  if (!ratio) {
    ctx_.prompts.Tell("\"" + text.toStdString() +
                      "\" is not a stoichiometric ratio from 2 to 30; the "
                      "units are unchanged.");
    CheckUnits();
    return;
  }
  ChooseUnits(MixtureUnits{true, *ratio});
}

void Workbench::AddPortEntries() {
  QMenu* comm = main_.findChild<QMenu*>("menu_comm");
  if (comm == nullptr) return;
  // The ports present change while the console runs: listed afresh each
  // time the menu opens, between the standard entries and Detect ECU.
  comm->addSeparator()->setObjectName("menu_comm_present");
  QAction* detect = comm->addAction("Detect ECU");
  detect->setObjectName("menu_comm_detect");
  connect(detect, &QAction::triggered, this,
          [this] { ctx_.link.RunWhenIdle([this] { DetectEcu(); }); });
  connect(comm, &QMenu::aboutToShow, this, &Workbench::ListPresentPorts);
  ListPresentPorts();
}

void Workbench::ListPresentPorts() {
  QMenu* comm = main_.findChild<QMenu*>("menu_comm");
  QAction* detect = main_.findChild<QAction*>("menu_comm_detect");
  for (QAction* entry : port_entries_) {
    comm->removeAction(entry);
    entry->deleteLater();
  }
  port_entries_.clear();
  for (const PresentPort& port : list_ports_()) {
    auto* entry = new QAction(QString::fromStdString(PortCaption(port)), comm);
    entry->setObjectName(
        QString::fromStdString("menu_comm_port_" + port.device));
    entry->setCheckable(true);
    entry->setChecked(ctx_.link_state.checked_port_entry == 0 &&
                      ctx_.link_state.port_device == port.device);
    const std::string device = port.device;
    connect(entry, &QAction::triggered, this, [this, device] {
      commands_.SelectPortDevice(device);
      main_.RefreshState();
    });
    comm->insertAction(detect, entry);
    port_entries_.push_back(entry);
  }
}

void Workbench::DetectEcu() {
  const std::vector<std::string> devices =
      DetectionCandidates(list_ports_(), ctx_.link_state.port_device);
  // The link's own port would be busy to the probe: it opens again at the
  // next use, as after the flash utility.
  ctx_.port.Close();
  busy_.BeginBusy();
  DetectionOptions options;
  options.timeout_seconds = kAnswerSeconds;
  options.progress = [this](int done, int total) {
    busy_.ShowProgress(total > 0 ? static_cast<double>(done) / total : 1.0);
  };
  const Detection detection =
      ecu::DetectEcu(ctx_.port, ctx_.clock, devices, options);
  busy_.EndBusy();
  bool stored = true;
  if (const PortProbe* found = detection.found()) {
    stored = commands_.SelectPortDevice(found->device);
    main_.RefreshState();
  }
  ctx_.prompts.Tell(DetectionReport(detection, kAnswerSeconds, stored));
}

Workbench::~Workbench() = default;

void Workbench::CompareWithEcu(const std::string& path) {
  compare_.a_is_ecu = true;
  compare_.b_path = path;
  ShowCompare();
  compare_window_->Refresh();
  ctx_.link.RunWhenIdle([this] { std::ignore = compare_.Compare(); });
}

void Workbench::ShowCompare() {
  if (!compare_window_) {
    compare_window_ = std::make_unique<CompareWindow>(compare_, ctx_.link);
  }
  ShowPlaced(compare_window_.get());
  compare_window_->raise();
}

}  // namespace ecu

#include "ui/fuel_map_window.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QShowEvent>
#include <QVBoxLayout>

#include "core/editors/injector_adjustments.h"
#include "core/editors/value_bands.h"
#include "ui/widgets/qt_colour.h"
#include "ui/widgets/qt_text.h"
#include "ui/widgets/readout_label.h"

namespace ecu {
namespace {

constexpr const char* kMapTip =
    "Higher numbers in this cell will yield more fuel to be injected across "
    "this section of the map";
constexpr const char* kInjectorTip =
    "The higher this number, the more fuel that will be injected under given "
    "conditions";
constexpr const char* kCutInTip =
    "This is the RPM at which the TPS PW and %TPS Mix mapping begins to "
    "operate.";
constexpr const char* kTpsPwTip =
    "Specifies the amount of TPS based Pulse Width that will be weighted "
    "against normal Mapping Pulse Width.";
constexpr const char* kTpsPercentTip =
    "This entry allows you to specify the percent of contribution that the "
    "above TPS Pulse Width will mix with the normal mapping Pulse Width in %.";

void SetIfChanged(QLabel* label, const std::string& text) {
  const QString shown = Text(text);
  if (label->text() != shown) label->setText(shown);
}

void SetTips(CellBoxes& boxes, std::string_view family, int count,
             const char* tip) {
  for (int i = 0; i < count; ++i) {
    if (CellEdit* box = boxes.Find({family, i})) box->setToolTip(tip);
  }
}

QLabel* Caption(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

}  // namespace

FuelMapWindow::FuelMapWindow(EcuContext& ctx, Views& views)
    : EditorWindow(View::kFuelMap, views),
      ctx_(ctx),
      editor_(ctx.editors()),
      boxes_(editor_.cells(), [this](CellRef ref, const EditorKeyPress& key) {
        return editor_.KeyPressed(ref, key);
      }) {
  BuildMenus();

  auto* central = new QWidget(this);
  auto* layout = new QGridLayout(central);
  layout->setContentsMargins(12, 10, 12, 10);
  layout->setHorizontalSpacing(6);
  layout->setVerticalSpacing(4);

  layout->addWidget(BuildAdjustments(central), 0, 0, 1, 3);

  // The grid: column c (engine speed) left to right, row 0 (load) at the
  // bottom.
  QWidget* map = boxes_.Grid(
      kMapCells,
      [](int i) {
        return std::pair{kMapRows - 1 - i % kMapRows, i / kMapRows};
      },
      central);
  map->setObjectName("map_grid");
  SetTips(boxes_, kMapCells, kMapCellCount, kMapTip);
  load_unit_ = new QLabel("kPa", central);
  load_unit_->setObjectName("load_unit");
  load_unit_->setAlignment(Qt::AlignCenter);
  load_axis_ = new AxisStrip(Qt::Vertical, map, central);
  load_axis_->setObjectName("map_p_ptr");
  load_pointer_ = load_axis_->AddPointer(QColor(0, 0, 160), false);
  speed_axis_ = new AxisStrip(Qt::Horizontal, map, central);
  speed_axis_->setObjectName("map_r_ptr_0");
  speed_pointer_ = speed_axis_->AddPointer(QColor(0, 0, 160), true);
  layout->addWidget(load_unit_, 1, 0);
  layout->addWidget(load_axis_, 2, 0);
  layout->addWidget(map, 2, 1);
  layout->addWidget(BuildSidePanel(central), 1, 2, 3, 1, Qt::AlignTop);
  auto* speed_unit = new QLabel("RPM", central);
  speed_unit->setAlignment(Qt::AlignRight | Qt::AlignTop);
  layout->addWidget(speed_axis_, 3, 1);
  layout->addWidget(speed_unit, 3, 0);

  // The TPS mixing rows, one cell per eighth of full-scale speed.
  QWidget* tps = new QWidget(central);
  tps->setObjectName("tps_rows");
  auto* tps_layout = new QGridLayout(tps);
  tps_layout->setContentsMargins(0, 6, 0, 0);
  tps_layout->setSpacing(1);
  QWidget* tps_cells = new QWidget(tps);
  auto* cells_layout = new QGridLayout(tps_cells);
  cells_layout->setContentsMargins(0, 0, 0, 0);
  cells_layout->setSpacing(1);
  for (int k = 0; k < kTpsPoints; ++k) {
    cells_layout->addWidget(boxes_.Add({kTpsPulseWidths, k}, tps_cells), 0, k);
    cells_layout->addWidget(boxes_.Add({kTpsPercents, k}, tps_cells), 1, k);
  }
  SetTips(boxes_, kTpsPulseWidths, kTpsPoints, kTpsPwTip);
  SetTips(boxes_, kTpsPercents, kTpsPoints, kTpsPercentTip);
  tps_axis_ = new AxisStrip(Qt::Horizontal, tps_cells, tps);
  tps_axis_->setObjectName("map_r_ptr_1");
  tps_axis_->SetCellCentres(kTpsPoints);
  tps_speed_pointer_ = tps_axis_->AddPointer(QColor(0, 0, 160), false);
  tps_pointer_ = tps_axis_->AddPointer(QColor(200, 0, 0), false);
  tps_layout->addWidget(tps_cells, 0, 0);
  tps_layout->addWidget(tps_axis_, 1, 0);
  layout->addWidget(Caption("TPS PW [MS]\n%TPS Mix", central), 4, 0,
                    Qt::AlignRight | Qt::AlignTop);
  layout->addWidget(tps, 4, 1);

  show_graph_ = new QPushButton("Show Graph", central);
  show_graph_->setObjectName("Command1");
  QHBoxLayout* buttons = AddUpdateExitButtons(central);
  buttons->insertWidget(0, show_graph_);
  layout->addLayout(buttons, 5, 0, 1, 3);
  layout->setColumnStretch(3, 1);
  layout->setRowStretch(6, 1);
  setCentralWidget(central);

  connect(show_graph_, &QPushButton::clicked, this,
          [this] { editor_.graph().Show(); });

  graph_window_ = new SurfaceGraphWindow(editor_, this);
  modifier_window_ = new BlockModifierWindow(editor_.modifier(), this);
  editor_.cells().set_listener(
      {[this](CellRef ref) { boxes_.Refresh(ref); },
       [this] { ShowEnabled(editor_.cells().enabled()); }});
  editor_.set_listener({[this] { ShowAxes(); }, [this] { ShowLive(); }});
  ShowAxes();
  ShowLive();
}

void FuelMapWindow::BuildMenus() {
  AddFileAndUpdateMenus();
  AddMenuEntry("&Reset map", "menuresetmap",
               [this] { editor_.RequestReset(); });
}

QWidget* FuelMapWindow::BuildAdjustments(QWidget* parent) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 6);
  layout->setSpacing(6);
  layout->addWidget(Caption("Injector Main Adj. [MS]", row));
  layout->addWidget(boxes_.Add({kInjectorBoxes, kFuelScalerBox}, row));
  layout->addSpacing(14);
  layout->addWidget(Caption("Injector Idle Adj. [MS]", row));
  layout->addWidget(boxes_.Add({kInjectorBoxes, kFuelOffsetBox}, row));
  layout->addSpacing(14);
  layout->addWidget(Caption("TPS Map cut-in RPM", row));
  CellEdit* cut_in = boxes_.Add({kCutInBox, 0}, row);
  cut_in->setToolTip(kCutInTip);
  layout->addWidget(cut_in);
  layout->addStretch();
  SetTips(boxes_, kInjectorBoxes, 2, kInjectorTip);
  return row;
}

QLabel* FuelMapWindow::Readout(const char* name, QWidget* parent) {
  QLabel* label = MakeReadoutLabel(parent);
  label->setObjectName(name);
  return label;
}

QWidget* FuelMapWindow::BuildSidePanel(QWidget* parent) {
  auto* panel = new QWidget(parent);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(8, 0, 0, 0);
  layout->setSpacing(2);
  // The legend, highest band on top.
  for (int box = 0; box < kLegendBoxes; ++box) {
    auto* label = new QLabel(panel);
    label->setObjectName(QString("bk_color_%1").arg(box));
    label->setAlignment(Qt::AlignCenter);
    label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    label->setStyleSheet(
        QString("QLabel { background: %1; color: black;"
                " border: 1px solid #9aa6b8; padding: 1px 10px; }")
            .arg(ToQColor(kBandColours[static_cast<size_t>(box)]).name()));
    legend_[static_cast<size_t>(box)] = label;
    layout->addWidget(label);
  }
  layout->addSpacing(14);
  auto* readouts = new QGridLayout;
  readouts->setHorizontalSpacing(6);
  readouts->setVerticalSpacing(3);
  pulse_width_ = Readout("Inj_pulse_width", panel);
  map_gain_ = Readout("control_map_gain", panel);
  ego_gain_ = Readout("control_ego_gain", panel);
  lambda_ = Readout("control_lambda", panel);
  rpm_ = Readout("mapping_rpm_0", panel);
  const std::pair<const char*, QLabel*> rows[] = {{"INJ PW", pulse_width_},
                                                  {"Map Enr.", map_gain_},
                                                  {"EGO Corr.", ego_gain_},
                                                  {"Cur Lamda", lambda_},
                                                  {"RPM", rpm_}};
  int row = 0;
  for (const auto& [caption, readout] : rows) {
    readouts->addWidget(new QLabel(caption, panel), row, 0);
    readouts->addWidget(readout, row, 1);
    ++row;
  }
  layout->addLayout(readouts);
  af_condition_ = new QLabel(panel);
  af_condition_->setObjectName("AF_condition");
  af_condition_->setAlignment(Qt::AlignCenter);
  QFont big = font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.4);
  af_condition_->setFont(big);
  layout->addSpacing(6);
  layout->addWidget(af_condition_);
  return panel;
}

void FuelMapWindow::ShowAxes() {
  const FuelMapAxes& axes = editor_.axes();
  QStringList load;
  for (const std::string& label : axes.load) load << Text(label);
  QStringList speed;
  for (const std::string& label : axes.speed) speed << Text(label);
  load_axis_->SetLabels(load);
  load_unit_->setText(Text(axes.load_unit));
  speed_axis_->SetLabels(speed);
  tps_axis_->SetLabels(speed);
  for (int box = 0; box < kLegendBoxes; ++box) {
    legend_[static_cast<size_t>(box)]->setText(
        Text(editor_.legend()[static_cast<size_t>(box)]));
  }
}

void FuelMapWindow::ShowLive() {
  const FuelMapReadouts& shown = editor_.readouts();
  SetIfChanged(lambda_, shown.control_lambda);
  SetIfChanged(ego_gain_, shown.control_ego_gain);
  SetIfChanged(map_gain_, shown.control_map_gain);
  SetIfChanged(rpm_, shown.mapping_rpm);
  SetIfChanged(pulse_width_, shown.inj_pulse_width);
  SetIfChanged(af_condition_, shown.af_condition);
  QPalette colours = af_condition_->palette();
  colours.setColor(QPalette::WindowText, ToQColor(shown.af_colour));
  af_condition_->setPalette(colours);
  const OperatingPoint& point = editor_.operating_point();
  load_axis_->MovePointer(load_pointer_, point.load_fraction);
  speed_axis_->MovePointer(speed_pointer_, point.speed_fraction);
  tps_axis_->MovePointer(tps_speed_pointer_, point.speed_fraction);
  tps_axis_->MovePointer(tps_pointer_, point.tps_fraction);
}

void FuelMapWindow::AfterPollingPass() { editor_.AfterPollingPass(); }

void FuelMapWindow::showEvent(QShowEvent* event) {
  EditorWindow::showEvent(event);
  // The map is read again when the window system shows it as well (back
  // from the task bar), not only when the console opens it.
  if (event->spontaneous()) editor_.Shown();
}

}  // namespace ecu

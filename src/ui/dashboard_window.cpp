#include "ui/dashboard_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/editors/injector_adjustments.h"
#include "ui/widgets/qt_colour.h"

namespace ecu {
namespace {

constexpr const char* kInjectorTip =
    "The higher this number, the more fuel that will be injected under given "
    "conditions";
// Gauges in the order gauges_ holds them.
constexpr const char* kGaugeNames[] = {"tachometer", "water_temp", "air_temp",
                                       "manifold_pressure", "bat_volts"};

// The instrument panel is dark, as the gauges are.
constexpr const char* kPanelStyle =
    "QWidget#dash_panel { background: #1b1e23; }"
    "QWidget#dash_panel QLabel, QWidget#dash_panel QRadioButton "
    "{ color: #d8dce3; }"
    "QGroupBox { color: #d8dce3; border: 1px solid #3a404a; "
    "border-radius: 4px; margin-top: 8px; }";

void Show(Gauge* gauge, const GaugeSetting& s) {
  // Scale first, then red, then warning, as the gauges were always set.
  gauge->SetScale(s.minimum, s.maximum, s.step);
  gauge->SetRedStart(s.red_start);
  gauge->SetWarningStart(s.warning_start);
  gauge->SetValue(s.value);
}

QLabel* Small(const QString& text, QWidget* parent,
              Qt::Alignment align = Qt::AlignCenter) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(align);
  return label;
}

}  // namespace

DashboardWindow::DashboardWindow(EcuContext& ctx, Views& views,
                                 const QPixmap& oem_picture)
    : ViewWindow(View::kDashboard, views),
      model_(ctx),
      boxes_(model_.injectors(),
             [this](CellRef ref, const EditorKeyPress& key) {
               return model_.KeyPressed(ref, key);
             }) {
  BuildMenus();
  auto* central = new QWidget(this);
  central->setObjectName("dash_panel");
  central->setStyleSheet(kPanelStyle);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(12, 10, 12, 10);
  layout->setSpacing(10);
  layout->addWidget(BuildGauges(central), 1);
  layout->addWidget(BuildMixture(central));
  layout->addWidget(BuildControls(central, oem_picture));
  setCentralWidget(central);

  model_.injectors().set_listener({[this](CellRef ref) { boxes_.Refresh(ref); },
                                   [this] { boxes_.RefreshAll(); }});
  model_.set_changed([this] { Render(); });
  Render();
}

void DashboardWindow::BuildMenus() {
  AddFileMenu("menu_file", "menu_file_exit");
  QAction* update = menuBar()->addAction("&Update");
  update->setObjectName("menu_Update");
  connect(update, &QAction::triggered, this,
          [this] { model_.RequestUpdate(); });
  QMenu* options = menuBar()->addMenu("&Options");
  options->setObjectName("menu_opts");
  QMenu* filter = options->addMenu("&Tachometer filtering");
  filter->setObjectName("menu_opts_tach_filt");
  const char* captions[] = {"&Hard Filter", "&Soft Filter", "&No Filter"};
  for (int i = 0; i < static_cast<int>(tach_filters_.size()); ++i) {
    QAction* entry = filter->addAction(captions[i]);
    entry->setObjectName(QString("menu_opts_tach_filt_num_%1").arg(i));
    entry->setCheckable(true);
    connect(entry, &QAction::triggered, this,
            [this, i] { model_.ChooseTachFilter(i); });
    tach_filters_[static_cast<size_t>(i)] = entry;
  }
}

Gauge* DashboardWindow::AddGauge(const char* name, const QStringList& caption,
                                 int decimals, QWidget* parent) {
  auto* gauge = new Gauge(parent);
  gauge->setObjectName(name);
  gauge->SetCaption(caption);
  gauge->SetReadoutDecimals(decimals);
  return gauge;
}

QWidget* DashboardWindow::BuildGauges(QWidget* parent) {
  auto* panel = new QWidget(parent);
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(6);
  gauges_[0] = AddGauge(kGaugeNames[0], {"x 1000"}, 2, panel);
  gauges_[1] = AddGauge(kGaugeNames[1], {"H2O Temp"}, 0, panel);
  gauges_[2] = AddGauge(kGaugeNames[2], {"Air Temp"}, 0, panel);
  gauges_[3] = AddGauge(kGaugeNames[3], {"Manifold"}, 1, panel);
  gauges_[4] = AddGauge(kGaugeNames[4], {"Battery", "Volts"}, 1, panel);
  // The tachometer large in the middle, two smaller gauges either side.
  gauges_[0]->setMinimumSize(300, 300);
  grid->addWidget(gauges_[1], 0, 0);
  grid->addWidget(gauges_[2], 1, 0);
  grid->addWidget(gauges_[0], 0, 1, 2, 1);
  grid->addWidget(gauges_[3], 0, 2);
  grid->addWidget(gauges_[4], 1, 2);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 2);
  grid->setColumnStretch(2, 1);
  return panel;
}

QWidget* DashboardWindow::BuildMixture(QWidget* parent) {
  auto* panel = new QWidget(parent);
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(2);
  std::vector<QColor> colours;
  for (int i = 0; i < kMixtureLamps; ++i) {
    const Rgb c = MixtureLampColour(i);
    colours.push_back(ToQColor(c));
  }
  lamps_ = new LampRow("afr_led", colours, panel);
  // "= 1" stands over the middle lamp.
  auto* marks = new QGridLayout;
  marks->setContentsMargins(0, 0, 0, 0);
  mixture_marks_ = {Small("1.4", panel, Qt::AlignLeft), Small("= 1", panel),
                    Small("0.6", panel, Qt::AlignRight)};
  for (int c = 0; c < 3; ++c) {
    marks->addWidget(mixture_marks_[static_cast<size_t>(c)], 0, c);
  }
  for (int c = 0; c < 3; ++c) marks->setColumnStretch(c, 1);
  grid->addWidget(Small("A/F Ratio", panel), 0, 1);
  grid->addLayout(marks, 1, 1);
  grid->addWidget(Small("Lean", panel, Qt::AlignRight | Qt::AlignVCenter), 2,
                  0);
  grid->addWidget(lamps_, 2, 1);
  grid->addWidget(Small("Rich", panel, Qt::AlignLeft | Qt::AlignVCenter), 2, 2);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(2, 1);
  lamps_->setMinimumWidth(15 * 26);
  return panel;
}

QWidget* DashboardWindow::BuildControls(QWidget* parent,
                                        const QPixmap& oem_picture) {
  auto* panel = new QWidget(parent);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(14);

  auto* ego = new QGridLayout;
  ego->addWidget(Small("EGO Correction", panel, Qt::AlignLeft), 0, 0);
  ego_gain_ = new QLabel(panel);
  ego_gain_->setObjectName("control_ego_gain");
  ego_gain_->setStyleSheet(
      "QLabel { background: #0a0c0f; color: #78e68c; border: 1px solid "
      "#464c56; padding: 1px 8px; }");
  ego->addWidget(ego_gain_, 0, 1);
  const char* captions[] = {"On", "Off"};
  const char* tips[] = {"Click to re-enable closed loop opperation.",
                        "Click to temporarily disable closed loop opperation."};
  auto* switches = new QHBoxLayout;
  switches->addWidget(Small("EGO", panel));
  for (int i = 0; i < 2; ++i) {
    auto* option = new QRadioButton(captions[i], panel);
    option->setObjectName(QString("ego_sw_%1").arg(i));
    option->setToolTip(tips[i]);
    connect(option, &QRadioButton::clicked, this,
            [this, i] { model_.SwitchEgo(static_cast<EgoSwitch>(i)); });
    switches->addWidget(option);
    ego_sw_[static_cast<size_t>(i)] = option;
  }
  ego->addLayout(switches, 1, 0, 1, 2);
  row->addLayout(ego);

  auto* injectors = new QGridLayout;
  injectors->addWidget(Small("Injector Main Adj. [MS]", panel, Qt::AlignLeft),
                       0, 0);
  injectors->addWidget(boxes_.Add({kInjectorBoxes, kFuelScalerBox}, panel), 0,
                       1);
  injectors->addWidget(Small("Injector Idle Adj. [MS]", panel, Qt::AlignLeft),
                       1, 0);
  injectors->addWidget(boxes_.Add({kInjectorBoxes, kFuelOffsetBox}, panel), 1,
                       1);
  for (int i = 0; i < 2; ++i) {
    boxes_.Find({kInjectorBoxes, i})->setToolTip(kInjectorTip);
  }
  row->addLayout(injectors);

  auto* buttons = new QVBoxLayout;
  auto* update = new QPushButton("Update", panel);
  update->setObjectName("Command2");
  update->setToolTip("Click to update modified entries");
  connect(update, &QPushButton::clicked, this,
          [this] { model_.RequestUpdate(); });
  auto* exit = new QPushButton("Exit", panel);
  exit->setObjectName("Command1");
  exit->setToolTip("Click to exit back to the console");
  connect(exit, &QPushButton::clicked, this, [this] { Exit(); });
  buttons->addWidget(update);
  buttons->addWidget(exit);
  row->addLayout(buttons);
  row->addStretch();

  auto* picture = new QLabel(panel);
  picture->setObjectName("Picture1");
  if (!oem_picture.isNull()) {
    picture->setPixmap(oem_picture.scaled(180, 60, Qt::KeepAspectRatio,
                                          Qt::SmoothTransformation));
  }
  row->addWidget(picture);
  return panel;
}

Gauge& DashboardWindow::gauge(const char* name) const {
  for (size_t i = 0; i < gauges_.size(); ++i) {
    if (QString(kGaugeNames[i]) == name) return *gauges_[i];
  }
  return *gauges_[0];
}

void DashboardWindow::UnitsChanged() {
  const std::array<std::string, 3> marks = MixtureMarks(model_.units());
  for (size_t i = 0; i < marks.size(); ++i) {
    mixture_marks_[i]->setText(QString::fromStdString(marks[i]));
  }
}

void DashboardWindow::showEvent(QShowEvent* event) {
  ViewWindow::showEvent(event);
  model_.Shown();
}

void DashboardWindow::hideEvent(QHideEvent* event) {
  if (!event->spontaneous()) model_.Hidden();
  ViewWindow::hideEvent(event);
}

void DashboardWindow::Render() {
  Show(gauges_[0], model_.tachometer());
  Show(gauges_[1], model_.water_temp());
  Show(gauges_[2], model_.air_temp());
  Show(gauges_[3], model_.manifold_pressure());
  Show(gauges_[4], model_.bat_volts());
  lamps_->Light(model_.lit_lamp());
  ego_gain_->setText(QString::fromStdString(model_.ego_correction()));
  ego_sw_[static_cast<size_t>(model_.ego_switch())]->setChecked(true);
  for (size_t i = 0; i < tach_filters_.size(); ++i) {
    tach_filters_[i]->setChecked(static_cast<int>(i) ==
                                 model_.tach_filter_entry());
  }
}

}  // namespace ecu

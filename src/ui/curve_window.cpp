#include "ui/curve_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <algorithm>

#include "ui/widgets/qt_text.h"

namespace ecu {
namespace {

// The "&Reset" submenu: one entry per table.
struct ResetEntry {
  const char* name;
  const char* text;
  std::string_view family;
};
constexpr ResetEntry kResetEntries[] = {
    {"menuresetcoolant", "&Coolant Map Gain", kCoolantGains},
    {"menuresetmat", "&Manifold Air Temp Gain", kAirGains},
    {"menuresetign_map", "Ignition [MAP]&1", kMapRetards},
    {"menuresetign_rpm", "Ignition [RPM]&2", kRpmRetards},
    {"menuresetign_mat", "Ignition [MAT]&3", kAirRetards},
    {"menuresetbaro", "&Barometric Map Gain", kBaroGains},
    {"menuresetidle", "&Idle Setpoint Map", kIdleSpeeds},
    {"menuresetaux", "&Auxiliary Compensation Gain", kAuxGains},
    {"menuresetegosetpoint", "&EGO Closed loop setpoint params", kEgoSetPoints},
};

const QColor kMarkerColour(0, 0, 160);

QStringList Labels(const std::vector<std::string>& labels) {
  QStringList list;
  for (const std::string& label : labels) list << QString::fromStdString(label);
  return list;
}

QLabel* Caption(std::string_view text, QWidget* parent) {
  auto* label = new QLabel(Text(text), parent);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  return label;
}

QLabel* AxisTitle(std::string_view text, QWidget* parent) {
  auto* label = new QLabel(Text(text), parent);
  label->setStyleSheet("QLabel { color: #505a6a; }");
  return label;
}

void SetTips(CellBoxes& boxes, std::string_view family, int count,
             std::string_view tip) {
  for (int i = 0; i < count; ++i) {
    if (CellEdit* box = boxes.Find({family, i})) box->setToolTip(Text(tip));
  }
}

}  // namespace

CurveWindow::CurveWindow(EcuContext& ctx, Views& views)
    : EditorWindow(View::kCurves, views),
      editor_(ctx.editors()),
      boxes_(editor_.cells(), [this](CellRef ref, const EditorKeyPress& key) {
        return editor_.KeyPressed(ref, key);
      }) {
  BuildMenus();

  auto* central = new QWidget(this);
  auto* layout = new QGridLayout(central);
  layout->setContentsMargins(12, 10, 12, 10);
  layout->setHorizontalSpacing(24);
  layout->addWidget(BuildCurves(central), 0, 0);
  layout->addWidget(BuildEgoGrid(central), 0, 1, Qt::AlignTop);

  layout->addLayout(AddUpdateExitButtons(central), 1, 0, 1, 2);
  layout->setColumnStretch(2, 1);
  layout->setRowStretch(2, 1);
  setCentralWidget(central);

  editor_.cells().set_listener(
      {[this](CellRef ref) { boxes_.Refresh(ref); },
       [this] { ShowEnabled(editor_.cells().enabled()); }});
  editor_.set_listener({[this] { ShowAxes(); }, [this] { ShowLive(); }});
  ShowAxes();
}

void CurveWindow::BuildMenus() {
  AddFileAndUpdateMenus();
  QMenu* reset = menuBar()->addMenu("&Reset");
  reset->setObjectName("menureset");
  for (const ResetEntry& entry : kResetEntries) {
    QAction* action = reset->addAction(entry.text);
    action->setObjectName(entry.name);
    const std::string_view family = entry.family;
    connect(action, &QAction::triggered, this,
            [this, family] { editor_.RequestReset(family); });
  }
}

// Each curve: its caption beside the nine cells, its axis title beside the
// labels and marker bar underneath. All rows share the same columns, so the
// curves share one horizontal axis.
QWidget* CurveWindow::BuildCurves(QWidget* parent) {
  auto* curves = new QWidget(parent);
  auto* layout = new QGridLayout(curves);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setHorizontalSpacing(10);
  layout->setVerticalSpacing(0);
  int cell_width = 0;
  for (size_t r = 0; r < CurveRows().size(); ++r) {
    const CurveRow& row = CurveRows()[r];
    auto* cells = new QWidget(curves);
    auto* cells_layout = new QHBoxLayout(cells);
    cells_layout->setContentsMargins(0, 0, 0, 0);
    cells_layout->setSpacing(1);
    for (int k = 0; k < kCurvePoints; ++k) {
      cells_layout->addWidget(boxes_.Add({row.family, k}, cells));
    }
    SetTips(boxes_, row.family, kCurvePoints, row.tip);
    auto* axis = new AxisStrip(Qt::Horizontal, cells, curves);
    axis->setObjectName(Text(row.bar));
    axis->SetCellCentres(kCurvePoints);
    axis->AddPointer(kMarkerColour, false);
    row_axes_[r] = axis;
    for (int k = 0; k < kCurvePoints; ++k) {
      cell_width =
          std::max(cell_width, boxes_.Find({row.family, k})->minimumWidth());
    }
    const int at = 2 * static_cast<int>(r);
    layout->addWidget(Caption(row.caption, curves), at, 0,
                      Qt::AlignRight | Qt::AlignVCenter);
    layout->addWidget(cells, at, 1);
    layout->addWidget(AxisTitle(row.axis_title, curves), at + 1, 0,
                      Qt::AlignRight | Qt::AlignTop);
    layout->addWidget(axis, at + 1, 1);
    layout->setRowMinimumHeight(at + 1, axis->sizeHint().height() + 6);
  }
  // One width for every cell, so the curves' points line up in columns.
  for (const CurveRow& row : CurveRows()) {
    for (int k = 0; k < kCurvePoints; ++k) {
      boxes_.Find({row.family, k})->setFixedWidth(cell_width);
    }
  }
  return curves;
}

// Columns along engine speed left to right, rows along manifold pressure
// bottom to top. The ECU keeps no top right set point: that box is shown
// so the grid reads as five by five, but it takes nothing.
QWidget* CurveWindow::BuildEgoGrid(QWidget* parent) {
  auto* panel = new QWidget(parent);
  auto* layout = new QGridLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(4);
  QWidget* grid = boxes_.Grid(
      kEgoSetPoints,
      [](int i) {
        return std::pair{kEgoGridSize - 1 - i % kEgoGridSize, i / kEgoGridSize};
      },
      panel);
  grid->setObjectName("ego_grid");
  SetTips(boxes_, kEgoSetPoints, kEgoSetPointCount, kEgoTip);
  auto* unused = new QLineEdit(grid);
  unused->setObjectName("ego_map_24");
  unused->setEnabled(false);
  unused->setToolTip("The ECU keeps no set point here");
  unused->setStyleSheet("QLineEdit { background: #c8ccd4; }");
  const int cell_width = boxes_.Find({kEgoSetPoints, 0})->minimumWidth();
  for (int i = 0; i < kEgoSetPointCount; ++i) {
    boxes_.Find({kEgoSetPoints, i})->setFixedWidth(cell_width);
  }
  unused->setFixedWidth(cell_width);
  static_cast<QGridLayout*>(grid->layout())
      ->addWidget(unused, 0, kEgoGridSize - 1);

  ego_pressure_axis_ = new AxisStrip(Qt::Vertical, grid, panel);
  ego_pressure_axis_->setObjectName(Text(kEgoPressureBar));
  ego_pressure_axis_->SetCellCentres(kEgoGridSize);
  ego_pressure_axis_->AddPointer(kMarkerColour, false);
  ego_speed_axis_ = new AxisStrip(Qt::Horizontal, grid, panel);
  ego_speed_axis_->setObjectName(Text(kEgoSpeedBar));
  ego_speed_axis_->SetCellCentres(kEgoGridSize);
  ego_speed_axis_->AddPointer(kMarkerColour, false);

  layout->addWidget(Caption(kEgoCaption, panel), 0, 1, Qt::AlignHCenter);
  layout->addWidget(AxisTitle(kEgoPressureTitle, panel), 1, 0,
                    Qt::AlignRight | Qt::AlignBottom);
  layout->addWidget(ego_pressure_axis_, 2, 0);
  layout->addWidget(grid, 2, 1);
  layout->addWidget(ego_speed_axis_, 3, 1);
  layout->addWidget(AxisTitle(kEgoSpeedTitle, panel), 4, 1, Qt::AlignHCenter);
  return panel;
}

void CurveWindow::ShowAxes() {
  const CurveAxes& axes = editor_.axes();
  for (size_t r = 0; r < row_axes_.size(); ++r) {
    row_axes_[r]->SetLabels(Labels(axes.rows[r]));
  }
  ego_speed_axis_->SetLabels(Labels(axes.ego_speed));
  ego_pressure_axis_->SetLabels(Labels(axes.ego_pressure));
}

void CurveWindow::ShowLive() {
  for (size_t r = 0; r < row_axes_.size(); ++r) {
    row_axes_[r]->MovePointer(0, editor_.marker(CurveRows()[r].input));
  }
  ego_speed_axis_->MovePointer(0, editor_.marker(CurveInput::kEngineSpeed));
  ego_pressure_axis_->MovePointer(
      0, editor_.marker(CurveInput::kManifoldPressure));
}

void CurveWindow::AfterPollingPass() { editor_.AfterPollingPass(); }

}  // namespace ecu

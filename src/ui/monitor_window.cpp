#include "ui/monitor_window.h"

#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/widgets/readout_label.h"

namespace ecu {
namespace {

struct MonitorRow {
  const char* name;
  int readout;
  const char* unit;
};

// Top to bottom, as the tuner reads them.
constexpr MonitorRow kRows[] = {
    {"Engine Speed", 0, "RPM"},
    {"A/F Ratio", 1, "Lamda"},
    {"Coolant Temp.", 2, "\u00B0C"},
    {"AirTemp.", 11, "\u00B0C"},
    {"Throttle Position", 3, "%"},
    {"Manifold Pressure", 4, "kPa"},
    {"Barometic Pressure", 14, "kPa"},
    {"Injection PW", 5, "ms"},
    {"Accel Enrichment", 8, "ms"},
    {"EGO Correction", 6, "Gamma"},
    {"MAP Enrichment", 7, "Gamma"},
    {"CLT Enrichment", 9, "Gamma"},
    {"Battery Voltage", 10, "Volts DC"},
    {"AUX Input", 12, "Volts DC"},
    {"IAC State", 15, ""},
    {"IAC Error", 16, ""},
    {"IAC Position", 17, ""},
    {"IAC RPM SETPOINT", 18, "RPM"},
};

}  // namespace

MonitorWindow::MonitorWindow(EcuContext& ctx, Views& views, MonitorText& text)
    : ViewWindow(View::kMonitor, views), ctx_(ctx) {
  AddFileMenu();

  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  fixed.setPointSizeF(fixed.pointSizeF() * 1.1);
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(12, 10, 12, 10);

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel("Comm Group Delay", central));
  group_delay_ = MakeReadoutLabel(central);
  group_delay_->setObjectName("group_delay");
  top->addWidget(group_delay_);
  top->addWidget(new QLabel("MS", central));
  top->addSpacing(16);
  top->addWidget(new QLabel("MAP# = ", central));
  map_num_ = new QLabel("0", central);
  map_num_->setObjectName("map_num");
  map_num_->setFont(fixed);
  top->addWidget(map_num_);
  top->addStretch();
  lamp_ = new CommLamp(central);
  lamp_->setObjectName("CommLamp");
  top->addWidget(lamp_);
  layout->addLayout(top);

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(3);
  for (int i = 0; i < kMonitorEntries; ++i) {
    readouts_[static_cast<size_t>(i)] = MakeReadoutLabel(central);
    readouts_[static_cast<size_t>(i)]->setObjectName(
        QString("ECU_Data_%1").arg(i));
  }
  int row = 0;
  for (const MonitorRow& r : kRows) {
    grid->addWidget(new QLabel(r.name, central), row, 0);
    grid->addWidget(readouts_[static_cast<size_t>(r.readout)], row, 1);
    auto* unit = new QLabel(QString::fromUtf8(r.unit), central);
    grid->addWidget(unit, row, 2);
    if (r.readout == 1) {
      unit->setObjectName("mixture_unit");
      mixture_unit_ = unit;
    }
    if (r.readout == 6) grid->addWidget(readouts_[13], row, 3);
    ++row;
  }
  grid->setColumnStretch(3, 1);
  layout->addLayout(grid);

  auto* exit = new QPushButton("Exit", central);
  exit->setObjectName("Command3d1");
  exit->setToolTip("Click to exit back to the console");
  connect(exit, &QPushButton::clicked, this, [this] { Exit(); });
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(exit);
  layout->addLayout(bottom);
  setCentralWidget(central);

  LinkIndicators& link = ctx.link.indicators();
  subscriptions_.push_back(
      link.lamp.Subscribe([this](LampColour c) { SetLamp(c); }));
  // The lamp stays red while the port is gone and says why.
  subscriptions_.push_back(link.lost.Subscribe([this](const std::string& t) {
    lamp_->setToolTip(QString::fromStdString(t));
  }));
  subscriptions_.push_back(link.group_delay.Subscribe(
      [this](const std::string& t) { SetGroupDelay(t); }));
  subscriptions_.push_back(ctx.map_number_shown.Subscribe(
      [this](const std::string& t) { SetMapNumber(t); }));
  subscriptions_.push_back(text.labels().Subscribe(
      [this](int i, const std::string& t) { SetReadout(i, t); }));
}

void MonitorWindow::SetReadout(int index, const std::string& text) {
  // Painted with the others at the next message processing: one repaint of
  // the window per display tick instead of one per read-out.
  readouts_[static_cast<size_t>(index)]->setText(QString::fromStdString(text));
}

void MonitorWindow::SetGroupDelay(const std::string& text) {
  // The figure changes with every reply; shown at the display tick, so
  // that the window is not repainted between two requests of a pass.
  group_delay_text_ = text;
}

void MonitorWindow::RefreshDisplay() {
  group_delay_->setText(QString::fromStdString(group_delay_text_));
}

void MonitorWindow::SetMapNumber(const std::string& text) {
  map_num_->setText(QString::fromStdString(text));
}

void MonitorWindow::UnitsChanged() {
  const std::string_view unit = ctx_.units.UnitName();
  mixture_unit_->setText(QString::fromUtf8(unit.data(), unit.size()));
}

void MonitorWindow::SetLamp(LampColour colour) {
  lamp_->SetColour(colour == LampColour::kGreen ? QColor(0, 255, 0)
                                                : QColor(255, 0, 0));
}

void MonitorWindow::changeEvent(QEvent* event) {
  // The time the window took to appear is not silence of the ECU.
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    ctx_.link.TouchReceiveTime();
  }
  ViewWindow::changeEvent(event);
}

}  // namespace ecu

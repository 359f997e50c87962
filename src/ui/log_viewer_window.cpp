#include "ui/log_viewer_window.h"

#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

#include "core/advisor/data_log_dialog.h"
#include "ui/widgets/qt_text.h"

namespace ecu {
namespace {

constexpr const char* kTitle = "Data Log Viewer";

}  // namespace

LogViewerWindow::LogViewerWindow(Prompts& prompts,
                                 std::function<MapAxes()> axes)
    : prompts_(prompts), axes_(std::move(axes)) {
  setObjectName("frm_log_viewer");
  setWindowTitle(kTitle);

  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("menu_log_file");
  QAction* open = file->addAction("&Open Data Log...");
  open->setObjectName("menu_log_open");
  connect(open, &QAction::triggered, this, &LogViewerWindow::AskForLog);
  QAction* close_entry = file->addAction("&Close");
  close_entry->setObjectName("menu_log_close");
  connect(close_entry, &QAction::triggered, this, &QWidget::close);
  QMenu* view = menuBar()->addMenu("&View");
  view->setObjectName("menu_log_view");
  QAction* all = view->addAction("Show &All");
  all->setObjectName("menu_log_all");
  connect(all, &QAction::triggered, this, [this] {
    model_.ShowAll();
    chart_->update();
  });
  advise_entry_ = menuBar()->addAction("&Advise...");
  advise_entry_->setObjectName("menu_log_advise");
  connect(advise_entry_, &QAction::triggered, this, [this] {
    if (advise_ && !model_.empty()) advise_(model_.log());
  });

  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->addWidget(BuildChannelList(splitter));
  chart_ = new LogChart(model_, splitter);
  chart_->setObjectName("log_chart");
  splitter->addWidget(chart_);
  auto* right = new QWidget(splitter);
  auto* right_layout = new QVBoxLayout(right);
  right_layout->setContentsMargins(6, 0, 0, 0);
  auto* caption = new QLabel("Samples in each cell of the fuel map", right);
  right_layout->addWidget(caption);
  hits_ = new MapGrid(right);
  hits_->setObjectName("log_hits");
  hits_->set_tip([this](int cell) {
    return QString("%1 samples in cell c%2 r%3")
        .arg(model_.hits()[static_cast<size_t>(cell)])
        .arg(cell / kMapRows)
        .arg(cell % kMapRows);
  });
  right_layout->addWidget(hits_, 1);
  splitter->addWidget(right);
  splitter->setStretchFactor(1, 3);
  splitter->setStretchFactor(2, 2);
  setCentralWidget(splitter);

  summary_ = new QLabel(this);
  summary_->setObjectName("log_summary");
  statusBar()->addWidget(summary_, 1);

  connect(chart_, &LogChart::cursorMoved, this, &LogViewerWindow::ShowCursor);
  ShowLog();
}

QWidget* LogViewerWindow::BuildChannelList(QWidget* parent) {
  auto* panel = new QWidget(parent);
  auto* layout = new QGridLayout(panel);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setVerticalSpacing(4);
  cursor_time_ = new QLabel(panel);
  cursor_time_->setObjectName("log_cursor_time");
  layout->addWidget(new QLabel("Cursor", panel), 0, 0);
  layout->addWidget(cursor_time_, 0, 1, Qt::AlignRight);
  for (int c = 0; c < kLogChannels; ++c) {
    auto* box =
        new QCheckBox(Text(std::string(LogViewModel::ChannelName(c))), panel);
    box->setObjectName(QString("log_channel_%1").arg(c));
    box->setChecked(model_.shown(c));
    const Rgb colour = LogViewModel::ChannelColour(c);
    // The trace colours are made for a black chart: a black swatch shows
    // them as the chart does.
    box->setStyleSheet(QString("QCheckBox { color: rgb(%1, %2, %3);"
                               " background: black; padding: 2px 4px; }")
                           .arg(colour.r)
                           .arg(colour.g)
                           .arg(colour.b));
    connect(box, &QCheckBox::toggled, this, [this, c](bool on) {
      model_.ShowChannel(c, on);
      chart_->update();
    });
    auto* value = new QLabel(panel);
    value->setObjectName(QString("log_value_%1").arg(c));
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setMinimumWidth(value->fontMetrics().horizontalAdvance("00000.000"));
    layout->addWidget(box, c + 1, 0);
    layout->addWidget(value, c + 1, 1);
    channels_[static_cast<size_t>(c)] = box;
    values_[static_cast<size_t>(c)] = value;
  }
  layout->setRowStretch(kLogChannels + 1, 1);
  return panel;
}

bool LogViewerWindow::OpenLog(const std::string& path) {
  if (axes_) model_.set_axes(axes_());
  if (!model_.Open(path)) {
    prompts_.Tell(model_.log().trouble);
    return false;
  }
  ShowLog();
  return true;
}

void LogViewerWindow::AskForLog() {
  const std::string path = AskForDataLogPath(prompts_);
  if (path.empty()) return;
  OpenLog(path);
}

void LogViewerWindow::showEvent(QShowEvent* event) {
  // The console's scaling may have changed since (a new configuration).
  if (axes_) {
    const MapAxes axes = axes_();
    if (axes != model_.axes()) {
      model_.set_axes(axes);
      ShowLog();
    }
  }
  FollowUnits();
  QMainWindow::showEvent(event);
}

void LogViewerWindow::changeEvent(QEvent* event) {
  // Back from the main window, whose Units menu may have changed.
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    FollowUnits();
  }
  QMainWindow::changeEvent(event);
}

void LogViewerWindow::FollowUnits() {
  if (!units_ || units_() == model_.units()) return;
  model_.set_units(units_());
  ShowCursor();
}

void LogViewerWindow::ShowLog() {
  const DataLog& log = model_.log();
  setWindowTitle(log.source.empty()
                     ? QString(kTitle)
                     : QString("%1 - %2").arg(kTitle).arg(
                           QFileInfo(Text(log.source)).fileName()));
  summary_->setText(Text(model_.Summary()));
  summary_->setToolTip(Text(log.source));
  advise_entry_->setEnabled(!model_.empty());
  hits_->SetAxes(AxisLabelsOf(model_.axes()));
  ShowCursor();
  chart_->update();
}

void LogViewerWindow::ShowCursor() {
  const std::optional<size_t> at = model_.cursor();
  cursor_time_->setText(
      at ? Text(LogViewModel::TimeText(model_.log().samples[*at].time_s, true))
         : QString());
  for (int c = 0; c < kLogChannels; ++c) {
    channels_[static_cast<size_t>(c)]->setText(Text(model_.ChannelCaption(c)));
    values_[static_cast<size_t>(c)]->setText(at ? Text(model_.ValueText(c, *at))
                                                : QString());
  }
  hits_->SetCells(model_.HitGrid());
}

}  // namespace ecu

#include "ui/plotter_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QMenuBar>
#include <QShowEvent>
#include <QVBoxLayout>

#include "ui/widgets/qt_colour.h"

namespace ecu {

PlotterWindow::PlotterWindow(EcuContext& ctx, Views& views,
                             std::function<void(int ms)> set_log_interval)
    : ViewWindow(View::kPlotter, views),
      ctx_(ctx),
      model_(ctx, std::move(set_log_interval)) {
  AddFileMenu();
  BuildMenus();

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(8, 8, 8, 8);
  chart_ = new StripChart(central);
  chart_->setObjectName("Strip");
  chart_->setToolTip("Left click to timestamp chart");
  chart_->setMinimumSize(640, 300);
  for (int i = 0; i < kPlotterChannels; ++i) {
    chart_->SetChannelColour(
        i, ToQColor(PlotterChannels()[static_cast<size_t>(i)].colour));
  }
  connect(chart_, &StripChart::clicked, this, [this] {
    chart_->Stamp(QString::fromStdString(ChartStampText(ctx_.clock)),
                  kStampHeight);
  });
  model_.set_chart(
      [this](const ChannelValues& values) { chart_->AddSample(values); });
  model_.set_loaded([this] { Render(); });
  layout->addWidget(chart_, 1);
  layout->addWidget(BuildChannelPanel(central));
  layout->addLayout(BuildLogRow(central));
  setCentralWidget(central);
  plot_file_->setText(QString::fromStdString(model_.plot_file()));
  Render();
}

void PlotterWindow::BuildMenus() {
  QMenu* menu = menuBar()->addMenu("&Logging Interval");
  menu->setObjectName("menuloggingint");
  for (size_t i = 0; i < intervals_.size(); ++i) {
    // The line's own rate comes after the fixed intervals.
    const std::string_view caption =
        i < kLogIntervals.size() ? kLogIntervals[i].caption : kFastestCaption;
    QAction* entry = menu->addAction(QString::fromUtf8(
        caption.data(), static_cast<qsizetype>(caption.size())));
    entry->setObjectName(QString("menu_log_int_%1").arg(i));
    entry->setCheckable(true);
    connect(entry, &QAction::triggered, this, [this, i] {
      model_.ChooseInterval(static_cast<int>(i));
      Render();
    });
    intervals_[i] = entry;
  }
}

QWidget* PlotterWindow::BuildChannelPanel(QWidget* parent) {
  // The boxes' text colours are the trace colours, so they sit on the
  // chart's black.
  auto* panel = new QWidget(parent);
  panel->setObjectName("channel_panel");
  panel->setAutoFillBackground(true);
  QPalette dark = panel->palette();
  dark.setColor(QPalette::Window, Qt::black);
  panel->setPalette(dark);
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(10, 6, 10, 6);
  grid->setHorizontalSpacing(18);
  grid->setVerticalSpacing(2);
  for (int i = 0; i < kPlotterChannels; ++i) {
    auto* box = new QCheckBox(panel);
    box->setObjectName(QString("Check3d1_%1").arg(i));
    box->setToolTip(
        QString::fromUtf8(kChannelToolTip.data(), kChannelToolTip.size()));
    QPalette palette = box->palette();
    const QColor colour =
        ToQColor(PlotterChannels()[static_cast<size_t>(i)].colour);
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    box->setPalette(palette);
    connect(box, &QCheckBox::toggled, this, [this, i](bool ticked) {
      model_.TickChannel(i, ticked);
      chart_->SetChannelEnabled(i, model_.channel_ticked(i));
    });
    grid->addWidget(box, i % 4, i / 4);
    channels_[static_cast<size_t>(i)] = box;
  }
  return panel;
}

QLayout* PlotterWindow::BuildLogRow(QWidget* parent) {
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel("Plotter Filename", parent));
  plot_file_ = new QLineEdit(parent);
  plot_file_->setObjectName("plot_file");
  plot_file_->setToolTip("Enter a filename for a log file");
  plot_file_->setMinimumWidth(220);
  connect(plot_file_, &QLineEdit::textChanged, this,
          [this](const QString& t) { model_.set_plot_file(t.toStdString()); });
  row->addWidget(plot_file_, 1);
  row->addSpacing(12);
  row->addWidget(new QLabel("File Samples", parent));
  file_samples_ = new QLabel(parent);
  file_samples_->setObjectName("File_Samples");
  file_samples_->setMinimumWidth(70);
  file_samples_->setStyleSheet(
      "QLabel { background: white; border: 1px solid #9aa6b8;"
      " padding: 1px 6px; }");
  row->addWidget(file_samples_);
  row->addSpacing(12);

  start_ = new QPushButton("Start Log", parent);
  start_->setObjectName("Command3d2");
  start_->setToolTip("Click to begin a data log file");
  connect(start_, &QPushButton::clicked, this, [this] {
    model_.StartLog();
    Render();
  });
  stop_ = new QPushButton("Stop Log", parent);
  stop_->setObjectName("Command3d3");
  stop_->setToolTip("Click to halt a data log file");
  connect(stop_, &QPushButton::clicked, this, [this] {
    model_.StopLog();
    Render();
  });
  auto* exit = new QPushButton("Exit", parent);
  exit->setObjectName("Command3d1");
  exit->setToolTip("Click to exit back to the console");
  connect(exit, &QPushButton::clicked, this, [this] { Exit(); });
  row->addWidget(start_);
  row->addWidget(stop_);
  row->addWidget(exit);
  return row;
}

void PlotterWindow::showEvent(QShowEvent* event) {
  ViewWindow::showEvent(event);
  model_.Shown();
}

void PlotterWindow::hideEvent(QHideEvent* event) {
  if (!event->spontaneous()) model_.Hidden();
  ViewWindow::hideEvent(event);
}

void PlotterWindow::TakeSample() {
  model_.TakeSample();
  samples_unshown_ = true;
  // At the line's rate the display tick shows them: a repaint per sample
  // would cost more than the sample and delay the next request.
  if (!ctx_.console.fastest_log) ShowSamples();
}

void PlotterWindow::RefreshDisplay() {
  if (samples_unshown_) ShowSamples();
}

void PlotterWindow::ShowSamples() {
  samples_unshown_ = false;
  chart_->update();
  Render();
}

void PlotterWindow::Render() {
  setWindowTitle(QString::fromStdString(model_.title()));
  // Start Log may have moved the log to a free numbered name.
  const QString file = QString::fromStdString(model_.plot_file());
  if (plot_file_->text() != file) plot_file_->setText(file);
  for (int i = 0; i < kPlotterChannels; ++i) {
    QCheckBox* box = channels_[static_cast<size_t>(i)];
    box->setText(QString::fromStdString(model_.caption(i)));
    box->setChecked(model_.channel_ticked(i));
  }
  for (size_t i = 0; i < intervals_.size(); ++i) {
    intervals_[i]->setChecked(static_cast<int>(i) == model_.checked_interval());
  }
  chart_->SetSecondsPerSample(model_.SecondsPerSample());
  const bool logging = model_.logging();
  plot_file_->setEnabled(!logging);
  start_->setEnabled(!logging);
  stop_->setEnabled(logging);
  file_samples_->setText(QString::fromStdString(model_.file_samples()));
}

}  // namespace ecu

#include "ui/supplementary_window.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QShowEvent>

#include "ui/widgets/qt_colour.h"
#include "ui/widgets/qt_text.h"

namespace ecu {
namespace {

constexpr const char* kDutyTip =
    "Higher numbers in this cell will yield longer Pulse Width values for the "
    "Supplimental Driver across this section of the map";
constexpr const char* kThresholdTip =
    "The coolant temperature above which the output is on at 100%";

// The caption in its colour; a yellow one (the change mark) sits on a dark
// chip so that it can be read at all.
void ShowOption(QRadioButton* button, Rgb text) {
  QPalette colours = button->palette();
  colours.setColor(QPalette::WindowText, ToQColor(text));
  button->setPalette(colours);
  button->setStyleSheet(
      text == kChangedMark
          ? "QRadioButton { background: #3a4660; border-radius: 3px; }"
          : "");
}

}  // namespace

SupplementaryWindow::SupplementaryWindow(EcuContext& ctx, Views& views)
    : EditorWindow(View::kSupplementary, views),
      editor_(ctx.editors()),
      boxes_(editor_.cells(), [this](CellRef ref, const EditorKeyPress& key) {
        return editor_.KeyPressed(ref, key);
      }) {
  BuildMenus();

  auto* central = new QWidget(this);
  auto* layout = new QGridLayout(central);
  layout->setContentsMargins(14, 10, 14, 10);
  layout->setHorizontalSpacing(24);
  layout->setVerticalSpacing(8);
  auto* title =
      new QLabel("Supplimental Driver Pulse Width [0 - 100% @ 300hz]", central);
  title->setObjectName("Label1");
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  layout->addWidget(title, 0, 0, 1, 2);
  layout->addWidget(BuildMap(central), 1, 0);
  layout->addWidget(BuildSources(central), 1, 1, Qt::AlignTop);

  layout->addLayout(AddUpdateExitButtons(central), 2, 0, 1, 2);
  layout->setColumnStretch(2, 1);
  layout->setRowStretch(3, 1);
  setCentralWidget(central);

  editor_.cells().set_listener(
      {[this](CellRef ref) { boxes_.Refresh(ref); },
       [this] { ShowEnabled(editor_.cells().enabled()); }});
  editor_.set_listener({[this] { ShowSource(); }, [this] { ShowLive(); }});
  ShowSource();
}

void SupplementaryWindow::BuildMenus() {
  AddFileAndUpdateMenus();
  AddMenuEntry("&Reset map", "menuresetmap",
               [this] { editor_.RequestReset(); });
}

// The duty points stacked bottom to top, the source's axis beside them.
QWidget* SupplementaryWindow::BuildMap(QWidget* parent) {
  auto* map = new QWidget(parent);
  auto* layout = new QGridLayout(map);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(4);
  QWidget* cells = boxes_.Grid(
      kDutyCells,
      [](int k) {
        return std::pair{kSupplementaryPoints - 1 - k, 0};
      },
      map);
  cells->setObjectName("duty_cells");
  for (int k = 0; k < kSupplementaryPoints; ++k) {
    boxes_.Find({kDutyCells, k})->setToolTip(kDutyTip);
  }
  source_units_ = new QLabel(map);
  source_units_->setObjectName("source_units");
  source_units_->setStyleSheet("QLabel { color: #505a6a; }");
  axis_ = new AxisStrip(Qt::Vertical, cells, map);
  axis_->setObjectName("map_p_ptr");
  axis_->SetCellCentres(kSupplementaryPoints);
  axis_->AddPointer(QColor(0, 0, 160), false);
  auto* duty = new QLabel("Duty %", map);
  duty->setStyleSheet("QLabel { color: #505a6a; }");
  layout->addWidget(source_units_, 0, 0, Qt::AlignRight);
  layout->addWidget(duty, 0, 1, Qt::AlignHCenter);
  layout->addWidget(axis_, 1, 0);
  layout->addWidget(cells, 1, 1);
  return map;
}

QWidget* SupplementaryWindow::BuildSources(QWidget* parent) {
  auto* box = new QGroupBox("Mapping Input Source", parent);
  box->setObjectName("Frame1");
  auto* layout = new QGridLayout(box);
  layout->setVerticalSpacing(6);
  options_ = new QButtonGroup(box);
  for (int n = 0; n < kSourceCount; ++n) {
    const SourceOption& option = SourceOptions()[static_cast<size_t>(n)];
    auto* button = new QRadioButton(Text(option.caption), box);
    button->setObjectName(QString("supp_source_%1").arg(n));
    button->setToolTip(Text(option.tip));
    options_->addButton(button, n);
    option_buttons_[static_cast<size_t>(n)] = button;
    layout->addWidget(button, n, 0);
    connect(button, &QRadioButton::clicked, this,
            [this, n] { editor_.ChooseSource(n); });
  }
  CellEdit* threshold = boxes_.Add({kCoolantThreshold, 0}, box);
  threshold->setToolTip(kThresholdTip);
  threshold->setMaximumWidth(threshold->minimumWidth());
  auto* row = new QHBoxLayout;
  row->setSpacing(4);
  row->addWidget(threshold);
  row->addWidget(new QLabel("\u00b0C", box));
  row->addStretch();
  layout->addLayout(row, kSourceCount - 1, 1);
  auto* source = new QLabel("Map source", box);
  source->setStyleSheet("QLabel { color: #505a6a; }");
  m_src_ = new QLabel(box);
  m_src_->setObjectName("m_src");
  layout->addWidget(source, kSourceCount, 0, Qt::AlignRight);
  layout->addWidget(m_src_, kSourceCount, 1);
  return box;
}

void SupplementaryWindow::ShowSource() {
  const SourceSelector& source = editor_.source();
  // An unread source sets no option at all, which an exclusive group
  // would not allow.
  options_->setExclusive(false);
  for (int n = 0; n < kSourceCount; ++n) {
    QRadioButton* button = option_buttons_[static_cast<size_t>(n)];
    button->setChecked(source.selected == n);
    ShowOption(button, source.text_colours[static_cast<size_t>(n)]);
  }
  options_->setExclusive(true);
  m_src_->setText(QString::fromStdString(source.m_src));
  source_units_->setText(QString::fromStdString(source.source_units));
  QStringList labels;
  for (const std::string& label : source.labels) {
    labels << QString::fromStdString(label);
  }
  axis_->SetLabels(labels);
}

void SupplementaryWindow::ShowLive() {
  if (const std::optional<double> pointer = editor_.pointer()) {
    axis_->MovePointer(0, *pointer);
  }
}

void SupplementaryWindow::AfterPollingPass() { editor_.AfterPollingPass(); }

void SupplementaryWindow::showEvent(QShowEvent* event) {
  EditorWindow::showEvent(event);
  if (event->spontaneous()) return;
  // The switch entries come after the window is built; keep them all in
  // sight.
  setMinimumWidth(menuBar()->sizeHint().width());
}

}  // namespace ecu

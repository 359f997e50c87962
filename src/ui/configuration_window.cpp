#include "ui/configuration_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <array>

#include "core/editors/configuration_fields.h"

namespace ecu {
namespace {

constexpr int kColumns = 3;
constexpr const char* kPhaseTip =
    "Tick the injector drivers that fire in this engine phase";

const SwitchLine* LineFor(std::string_view name, int index) {
  for (const SwitchLine& line : ConfigurationSwitchLines()) {
    if (name == line.name && index == line.index) return &line;
  }
  return nullptr;
}

}  // namespace

ConfigurationWindow::ConfigurationWindow(EcuContext& ctx, Views& views)
    : EditorWindow(View::kConfiguration, views),
      editor_(ctx.editors()),
      boxes_(editor_.fields(),
             [this](CellRef ref, const EditorKeyPress& key) {
               return editor_.KeyPressed(ref, key);
             }),
      switches_(editor_.switches(),
                [this](SwitchRef ref) { editor_.Click(ref); }) {
  BuildMenus();

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(10, 8, 10, 8);
  auto* columns = new QHBoxLayout;
  columns->setSpacing(8);
  std::array<QVBoxLayout*, kColumns> stacks{};
  for (QVBoxLayout*& stack : stacks) {
    stack = new QVBoxLayout;
    stack->setSpacing(6);
    columns->addLayout(stack);
  }
  for (const FrameLayout& frame : ConfigurationFrames()) {
    stacks[static_cast<size_t>(frame.column)]->addWidget(
        BuildFrame(frame, central));
  }
  for (QVBoxLayout* stack : stacks) stack->addStretch();
  layout->addLayout(columns);

  layout->addLayout(AddUpdateExitButtons(central, "Command3d1", "Command3d2"));
  setCentralWidget(central);

  editor_.fields().set_listener(
      {[this](CellRef ref) { boxes_.Refresh(ref); }, [this] { ShowState(); }});
  editor_.switches().set_changed([this] { ShowState(); });
  ShowState();
}

void ConfigurationWindow::BuildMenus() { AddFileAndUpdateMenus(); }

QGroupBox* ConfigurationWindow::BuildFrame(const FrameLayout& frame,
                                           QWidget* parent) {
  auto* box = new QGroupBox(frame.caption, parent);
  box->setObjectName(frame.name);
  auto* grid = new QGridLayout(box);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(3);
  grid->setColumnStretch(0, 1);
  int row = 0;
  switch (frame.extra) {
    case FrameExtra::kOptions:
      grid->addWidget(BuildOptions(box), row++, 0, 1, 4);
      break;
    case FrameExtra::kEgoType:
      grid->addWidget(BuildEgoType(box), row++, 0, 1, 4);
      break;
    default:
      break;
  }
  AddFieldLines(frame, box, grid, row);
  row += static_cast<int>(frame.lines.size());
  if (frame.extra == FrameExtra::kPhaseMatrix) {
    grid->addWidget(BuildPhaseMatrix(box), row, 0, 1, 4);
  }
  return box;
}

void ConfigurationWindow::AddFieldLines(const FrameLayout& frame, QWidget* box,
                                        QGridLayout* grid, int first_row) {
  int row = first_row;
  for (const FieldLine& line : frame.lines) {
    grid->addWidget(new QLabel(line.label, box), row, 0);
    CellEdit* field = boxes_.Add({line.field, 0}, box);
    field->setToolTip(line.tip);
    grid->addWidget(field, row, 1);
    grid->addWidget(new QLabel(line.unit, box), row, 2);
    if (frame.extra == FrameExtra::kTpsCapture) {
      const int k = row - first_row;
      const SwitchLine* caption = LineFor("calibrate_tps_val", k);
      auto* capture = new QPushButton(caption->caption, box);
      capture->setObjectName(QString("calibrate_tps_val_%1").arg(k));
      capture->setToolTip(caption->tip);
      connect(capture, &QPushButton::clicked, this, [this, k] {
        editor_.RequestTpsCapture(static_cast<TpsEndPoint>(k));
      });
      grid->addWidget(capture, row, 3);
    }
    ++row;
  }
}

QAbstractButton* ConfigurationWindow::AddSwitch(SwitchRef ref,
                                                QWidget* parent) {
  const SwitchLine* line = LineFor(ref.name, ref.index);
  QAbstractButton* button =
      switches_.Add(ref, line != nullptr ? line->caption : "", parent);
  if (line != nullptr) button->setToolTip(line->tip);
  return button;
}

QWidget* ConfigurationWindow::BuildOptions(QWidget* parent) {
  auto* panel = new QWidget(parent);
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setVerticalSpacing(2);
  for (int k = 0; k < kMapTypes; ++k) {
    grid->addWidget(AddSwitch({kMapType, k}, panel), k / 2, k % 2);
  }
  QAbstractButton* tps_mapped = AddSwitch({kTpsMapped}, panel);
  tps_mapped->installEventFilter(this);
  grid->addWidget(tps_mapped, 2, 0);
  grid->addWidget(AddSwitch({kMapAccel}, panel), 2, 1);
  grid->addWidget(AddSwitch({kSpecialConfig, 0}, panel), 3, 0);
  grid->addWidget(AddSwitch({kSpecialConfig, 1}, panel), 3, 1);
  return panel;
}

QWidget* ConfigurationWindow::BuildEgoType(QWidget* parent) {
  auto* panel = new QWidget(parent);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(AddSwitch({kEgoType, kNarrowEgo}, panel));
  row->addWidget(AddSwitch({kEgoType, kWideEgo}, panel));
  row->addStretch();
  return panel;
}

QWidget* ConfigurationWindow::BuildPhaseMatrix(QWidget* parent) {
  auto* panel = new QWidget(parent);
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(0, 6, 0, 0);
  grid->setHorizontalSpacing(2);
  grid->setVerticalSpacing(0);
  auto* heading = new QLabel("Injector Driver Num.", panel);
  heading->setAlignment(Qt::AlignCenter);
  grid->addWidget(heading, 0, 1, 1, kInjectorDrivers);
  for (int d = 0; d < kInjectorDrivers; ++d) {
    auto* number = new QLabel(QString::number(d + 1), panel);
    number->setAlignment(Qt::AlignCenter);
    grid->addWidget(number, 1, d + 1);
  }
  for (int p = 0; p < kPhaseRows; ++p) {
    grid->addWidget(switches_.AddRowLabel(p, panel), p + 2, 0);
    for (int d = 0; d < kInjectorDrivers; ++d) {
      QAbstractButton* box =
          switches_.Add({kPhaseRowNames[static_cast<size_t>(p)], d}, "", panel);
      box->setToolTip(kPhaseTip);
      grid->addWidget(box, p + 2, d + 1, Qt::AlignCenter);
    }
  }
  return panel;
}

void ConfigurationWindow::ShowState() {
  ShowEnabled(editor_.enabled());
  const bool lambda = editor_.switches().lambda_enabled();
  for (std::string_view field : {kLambdaAt0VField, kLambdaAt1VField}) {
    if (CellEdit* box = boxes_.Find({field, 0})) box->setEnabled(lambda);
  }
  switches_.RefreshAll();
}

bool ConfigurationWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      editor_.KeyOnSwitch({kTpsMapped}, {.key = EditorKey::kEnter});
      return true;
    }
  }
  return EditorWindow::eventFilter(watched, event);
}

}  // namespace ecu

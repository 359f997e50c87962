#include "ui/configuration_window_switches.h"

#include <QCheckBox>
#include <QRadioButton>

#include "ui/widgets/qt_colour.h"

namespace ecu {
namespace {

bool IsOption(SwitchRef ref) {
  return ref.name == kMapType || ref.name == kSpecialConfig ||
         ref.name == kEgoType;
}

QString ObjectName(SwitchRef ref) {
  const QString name =
      QString::fromUtf8(ref.name.data(), static_cast<int>(ref.name.size()));
  return ref.index == kNoIndex ? name
                               : QString("%1_%2").arg(name).arg(ref.index);
}

}  // namespace

SwitchButtons::SwitchButtons(const ConfigurationSwitches& model,
                             ClickHandler click)
    : model_(model), click_(std::move(click)) {}

QAbstractButton* SwitchButtons::Add(SwitchRef ref, const QString& caption,
                                    QWidget* parent) {
  QAbstractButton* button = nullptr;
  if (IsOption(ref)) {
    auto* option = new QRadioButton(caption, parent);
    option->setAutoExclusive(false);
    button = option;
  } else {
    button = new QCheckBox(caption, parent);
  }
  button->setObjectName(ObjectName(ref));
  // The model decides; the button's own toggle is put right at once.
  QObject::connect(button, &QAbstractButton::clicked, button, [this, ref] {
    click_(ref);
    RefreshAll();
  });
  buttons_.push_back({ref, button});
  return button;
}

QLabel* SwitchButtons::AddRowLabel(int row, QWidget* parent) {
  auto* label = new QLabel(QString("Eng. Phase %1").arg(row + 1), parent);
  label->setObjectName(QString("phase_label_%1").arg(row));
  label->setAutoFillBackground(true);
  label->setContentsMargins(4, 0, 4, 0);
  row_labels_[static_cast<size_t>(row)] = label;
  return label;
}

QAbstractButton* SwitchButtons::Find(SwitchRef ref) const {
  for (const Entry& entry : buttons_) {
    if (entry.ref == ref) return entry.button;
  }
  return nullptr;
}

void SwitchButtons::RefreshAll() {
  for (const Entry& entry : buttons_) {
    const SwitchState state = model_.state(entry.ref);
    QAbstractButton* button = entry.button;
    // An unknown check box is neither ticked nor clear; an unknown option
    // group has no button chosen.
    if (auto* box = qobject_cast<QCheckBox*>(button)) {
      const Qt::CheckState shown = !state.known ? Qt::PartiallyChecked
                                   : state.on   ? Qt::Checked
                                                : Qt::Unchecked;
      if (box->checkState() != shown) box->setCheckState(shown);
    } else if (button->isChecked() != state.on) {
      button->setChecked(state.on);
    }
    if (button->isEnabled() != state.enabled) button->setEnabled(state.enabled);
    // A disabled control keeps the greyed text of its kind.
    QPalette colours = button->palette();
    const QColor text = ToQColor(state.text);
    if (colours.color(QPalette::Active, QPalette::WindowText) != text) {
      colours.setColor(QPalette::Active, QPalette::WindowText, text);
      colours.setColor(QPalette::Inactive, QPalette::WindowText, text);
      button->setPalette(colours);
    }
  }
  for (int row = 0; row < kPhaseRows; ++row) {
    QLabel* label = row_labels_[static_cast<size_t>(row)];
    if (label == nullptr) continue;
    const bool marked = model_.row_marked(row) || !model_.row_known(row);
    QPalette colours = label->palette();
    colours.setColor(QPalette::Window,
                     marked ? ToQColor(kChangedMark) : QColor(Qt::transparent));
    label->setPalette(colours);
  }
}

}  // namespace ecu

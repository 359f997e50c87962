#ifndef ECU_UI_CONFIGURATION_WINDOW_SWITCHES_H_
#define ECU_UI_CONFIGURATION_WINDOW_SWITCHES_H_

#include <QAbstractButton>
#include <QLabel>
#include <array>
#include <functional>
#include <vector>

#include "core/editors/configuration_switches.h"

namespace ecu {

// The check boxes and option buttons of the configuration window, kept in
// step with ConfigurationSwitches. Clicks go to the model, which decides
// what is ticked; the buttons only show it. Named like the layout's
// controls: TPS_mapped, map_type_2, inj_ph_3_5 (row 3, driver 6).
class SwitchButtons {
 public:
  using ClickHandler = std::function<void(SwitchRef)>;

  SwitchButtons(const ConfigurationSwitches& model, ClickHandler click);

  // A check box or option button for the control; option buttons do not
  // clear each other by themselves.
  QAbstractButton* Add(SwitchRef ref, const QString& caption, QWidget* parent);
  // The label of a phase row, which shows the row's change mark.
  QLabel* AddRowLabel(int row, QWidget* parent);
  QAbstractButton* Find(SwitchRef ref) const;
  void RefreshAll();

 private:
  struct Entry {
    SwitchRef ref;
    QAbstractButton* button;
  };
  const ConfigurationSwitches& model_;
  ClickHandler click_;
  std::vector<Entry> buttons_;
  std::array<QLabel*, kPhaseRows> row_labels_{};
};

}  // namespace ecu

#endif  // ECU_UI_CONFIGURATION_WINDOW_SWITCHES_H_

#ifndef ECU_UI_MONITOR_WINDOW_H_
#define ECU_UI_MONITOR_WINDOW_H_

#include <QLabel>
#include <array>
#include <vector>

#include "core/ecu_context.h"
#include "core/readouts/monitor_text.h"
#include "ui/view_window.h"
#include "ui/widgets/comm_lamp.h"

namespace ecu {

// frm_mon, "Real Time Monitor": 18 rows of live read-outs written by the
// polling loop, the map number, the reply interval and the lamp.
class MonitorWindow : public ViewWindow {
  Q_OBJECT

 public:
  // Hears the link's lamp and reply interval, the map number and the
  // monitor text for as long as it exists.
  MonitorWindow(EcuContext& ctx, Views& views, MonitorText& text);

  // ECU_Data(i), written by the loop at its display tick.
  void SetReadout(int index, const std::string& text);
  // Kept until the display tick shows it.
  void SetGroupDelay(const std::string& text);
  void RefreshDisplay() override;
  void SetMapNumber(const std::string& text);
  void SetLamp(LampColour colour);
  void UnitsChanged() override;
  QString Readout(int index) const { return readouts_[index]->text(); }

 protected:
  void changeEvent(QEvent* event) override;

 private:
  EcuContext& ctx_;
  std::array<QLabel*, kMonitorEntries> readouts_{};
  QLabel* group_delay_ = nullptr;
  std::string group_delay_text_;
  QLabel* mixture_unit_ = nullptr;  // beside "A/F Ratio"
  QLabel* map_num_ = nullptr;
  CommLamp* lamp_ = nullptr;
  std::vector<Subscription> subscriptions_;
};

}  // namespace ecu

#endif  // ECU_UI_MONITOR_WINDOW_H_

#ifndef ECU_QT_QT_EVENT_PUMP_H_
#define ECU_QT_QT_EVENT_PUMP_H_

#include "core/platform/event_pump.h"

namespace ecu {

// Runs Qt's pending events at the points the link and the loop allow.
class QtEventPump : public EventPump {
 public:
  void ProcessPending() override;
  void WaitAndProcess(double max_seconds) override;
  void Post(std::function<void()> action) override;
};

}  // namespace ecu

#endif  // ECU_QT_QT_EVENT_PUMP_H_

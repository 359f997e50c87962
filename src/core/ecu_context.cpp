#include "core/ecu_context.h"

#include "core/calibration/calibration_replies.h"
#include "core/link/live_decoding.h"

namespace ecu {

EcuContext::EcuContext(SerialPort& port, Clock& clock, Prompts& prompts,
                       EventPump& pump)
    : port(port),
      clock(clock),
      prompts(prompts),
      pump(pump),
      link(port, clock, prompts, pump, link_state, replies) {
  AddLiveReplies(replies, live, [this](const std::string& text) {
    map_number_shown.Emit(text);
  });
  AddCalibrationReplies(replies, image, live, fields);
  AddControllerReplies(replies, link, controller);
}

}  // namespace ecu

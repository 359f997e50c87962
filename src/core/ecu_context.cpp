#include "core/ecu_context.h"

namespace ecu {

EcuContext::EcuContext(SerialPort& port, Clock& clock, Prompts& prompts,
                       EventPump& pump)
    : port(port),
      clock(clock),
      prompts(prompts),
      pump(pump),
      link(port, clock, prompts, pump, link_state, replies) {
  AddControllerReplies(replies, link, controller);
}

}  // namespace ecu

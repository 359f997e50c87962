#ifndef ECU_TESTS_SUPPORT_LINK_RIG_H_
#define ECU_TESTS_SUPPORT_LINK_RIG_H_

#include "core/link/ecu_link.h"
#include "core/link/link_state.h"
#include "core/link/live_data.h"
#include "core/link/live_decoding.h"
#include "core/link/reply_table.h"
#include "support/counting_pump.h"
#include "support/fake_clock.h"
#include "support/scripted_prompts.h"
#include "support/slip_guard.h"
#include "support/virtual_line_port.h"

namespace ecu::testing {

// A link over the in-memory port in virtual time, ready to talk: the port
// chosen and opened, as after the first EnsureLink.
struct LinkRig {
  explicit LinkRig(FarEnd far_end) : port(clock, std::move(far_end)) { Open(); }
  explicit LinkRig(const sim::SimOptions& options = {}) : port(clock, options) {
    Open();
  }

  void Open() {
    // The live codes are known, so requests for them have a reply length;
    // tests replace the decoders they watch.
    AddLiveReplies(replies, live, nullptr);
    state.port_device = "/dev/virtual";
    port.Open(state.port_device);
    state.port_ready = true;
    state.last_receive_time = clock.SecondsSinceMidnight();
  }

  FakeClock clock;
  VirtualLinePort port;
  ScriptedPrompts prompts;
  CountingPump pump;
  LinkState state;
  ReplyTable replies;
  LiveData live;
  EcuLink link{port, clock, prompts, pump, state, replies};
  SlipGuard slips{link};
};

}  // namespace ecu::testing

#endif  // ECU_TESTS_SUPPORT_LINK_RIG_H_

#ifndef ECU_TESTS_SUPPORT_CONTEXT_RIG_H_
#define ECU_TESTS_SUPPORT_CONTEXT_RIG_H_

#include <utility>
#include <vector>

#include "core/ecu_context.h"
#include "sim/virtual_ecu.h"
#include "support/counting_pump.h"
#include "support/fake_clock.h"
#include "support/scripted_prompts.h"
#include "support/slip_guard.h"
#include "support/virtual_line_port.h"

namespace ecu::testing {

// A console core over the virtual ECU in virtual time, its port chosen but
// not yet opened.
struct ContextRig {
  explicit ContextRig(const sim::SimOptions& options = {},
                      double start_seconds = 36000.0)
      : clock(start_seconds), port(clock, options) {
    ctx.link_state.port_device = "/dev/virtual";
  }
  // A scripted far end instead of the virtual ECU.
  explicit ContextRig(FarEnd far_end) : port(clock, std::move(far_end)) {
    ctx.link_state.port_device = "/dev/virtual";
  }

  sim::CalibrationMemory& memory() { return port.ecu()->memory(); }
  std::vector<int> TakeCodes() { return port.TakeCodes(); }

  FakeClock clock;
  VirtualLinePort port;
  ScriptedPrompts prompts;
  CountingPump pump;
  EcuContext ctx{port, clock, prompts, pump};
  SlipGuard slips{ctx.link};
};

}  // namespace ecu::testing

#endif  // ECU_TESTS_SUPPORT_CONTEXT_RIG_H_

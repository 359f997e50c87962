#ifndef ECU_TESTS_SUPPORT_TEST_ECU_H_
#define ECU_TESTS_SUPPORT_TEST_ECU_H_

#include <set>
#include <string_view>
#include <vector>

#include "core/link/frame.h"
#include "sim/virtual_ecu.h"
#include "support/virtual_line_port.h"

namespace ecu::testing {

// The virtual ECU behind a link, with codes it can be told to leave
// unanswered.
class TestEcu {
 public:
  sim::VirtualEcu ecu{sim::SimOptions{}};
  std::set<int> silent_codes;

  sim::CalibrationMemory& memory() { return ecu.memory(); }
  testing::FarEnd FarEnd() {
    return [this](std::string_view request, double now) {
      std::vector<LineChunk> out;
      if (silent_codes.count(ByteAt(request, 2)) != 0) return out;
      for (const sim::Transmission& t : ecu.Receive(request, now)) {
        out.push_back({t.bytes, t.delay_s});
      }
      return out;
    };
  }
};

}  // namespace ecu::testing

#endif  // ECU_TESTS_SUPPORT_TEST_ECU_H_

#ifndef ECU_TESTS_SUPPORT_SLIP_GUARD_H_
#define ECU_TESTS_SUPPORT_SLIP_GUARD_H_

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/link/ecu_link.h"

namespace ecu::testing {

// Collects the link's programming slips (a request code without a reply
// length, a nested transaction); a test that leaves one behind fails.
class SlipGuard {
 public:
  explicit SlipGuard(EcuLink& link) {
    link.set_slip_handler(
        [this](const std::string& what) { slips_.push_back(what); });
  }
  ~SlipGuard() {
    for (const std::string& slip : slips_)
      ADD_FAILURE() << "link slip: " << slip;
  }
  // Takes the slips a test expected.
  std::vector<std::string> Take() { return std::exchange(slips_, {}); }

 private:
  std::vector<std::string> slips_;
};

}  // namespace ecu::testing

#endif  // ECU_TESTS_SUPPORT_SLIP_GUARD_H_

#ifndef ECU_TESTS_SUPPORT_TEST_ECU_H_
#define ECU_TESTS_SUPPORT_TEST_ECU_H_

#include <set>
#include <string_view>
#include <vector>

#include "core/calibration/calibration_image.h"
#include "core/calibration/calibration_replies.h"
#include "core/calibration/field_board.h"
#include "core/link/frame.h"
#include "core/link/live_data.h"
#include "sim/virtual_ecu.h"
#include "support/link_rig.h"
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
    return
        [this, answer = FarEndOf(ecu)](std::string_view request, double now) {
          if (silent_codes.count(ByteAt(request, 2)) != 0) {
            return std::vector<LineChunk>{};
          }
          return answer(request, now);
        };
  }
};

// A link over a TestEcu whose calibration replies decode into an image, and
// a scratch folder.
struct CalibrationLinkRig {
  CalibrationLinkRig() : rig(ecu.FarEnd()) {
    AddCalibrationReplies(rig.replies, image, live, board);
  }

  TestEcu ecu;
  LinkRig rig;
  CalibrationImage image;
  LiveData live;
  FieldBoard board;
};

}  // namespace ecu::testing

#endif  // ECU_TESTS_SUPPORT_TEST_ECU_H_

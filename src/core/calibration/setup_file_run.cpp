#include "core/calibration/setup_file_run.h"

namespace ecu {

bool SendAndCheck(EcuLink& link, const CalibrationImage& image,
                  std::string_view command, int reply_length) {
  const long before = image.accepted_replies();
  link.SendCommand(command, reply_length);
  return image.accepted_replies() != before || link.state().demo_mode;
}

}  // namespace ecu

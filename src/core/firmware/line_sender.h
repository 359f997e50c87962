#ifndef ECU_CORE_FIRMWARE_LINE_SENDER_H_
#define ECU_CORE_FIRMWARE_LINE_SENDER_H_

#include <string_view>

#include "core/firmware/flash_controls.h"
#include "core/platform/clock.h"
#include "core/platform/serial_port.h"

namespace ecu {

// Puts the lines of a firmware file onto the line: at most 128 bytes may be
// waiting to be sent before a line is queued, and the optional character
// and line delays follow. None of its waits process window messages.
class LineSender {
 public:
  static constexpr int kTransmitThreshold = 128;
  // A transmit queue that does not move for this long is given up on.
  static constexpr double kStallSeconds = 5.0;

  LineSender(SerialPort& port, Clock& clock) : port_(port), clock_(clock) {}

  // Waits until at most 128 bytes are waiting to be sent. False when the
  // port closed or the queue stopped moving.
  bool WaitForRoom();

  // The first line: exactly as read, no line end, no delay.
  void SendFirstLine(std::string_view line);
  // A later line as the controls stand: with "Add charecter dly." one
  // character at a time, each followed by the character delay, then CR LF
  // and one more delay; otherwise the whole line without a line end. Then
  // the line delay when ticked. Each delay is read afresh for its wait.
  void SendLine(std::string_view line, const FlashControls& controls);

  // How long the line still needs, at its speed, to carry everything sent
  // since the first line (0 once it surely has).
  double SecondsUntilCarried();

 private:
  void Write(std::string_view bytes);
  void Wait(double seconds);

  SerialPort& port_;
  Clock& clock_;
  float started_ = 0.0f;
  long bytes_sent_ = 0;
};

}  // namespace ecu

#endif  // ECU_CORE_FIRMWARE_LINE_SENDER_H_

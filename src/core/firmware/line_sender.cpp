#include "core/firmware/line_sender.h"

#include <algorithm>

#include "core/link/frame.h"

namespace ecu {

bool LineSender::WaitForRoom() {
  int queued = port_.BytesToWrite();
  float last_progress = clock_.SecondsSinceMidnight();
  while (queued > kTransmitThreshold) {
    if (!port_.IsOpen()) return false;
    // Sleep about as long as the line needs to bring the queue down to the
    // threshold, rather than spinning on the count.
    Wait(std::max(0.0005, (queued - kTransmitThreshold) * kSecondsPerByte));
    const int now_queued = port_.BytesToWrite();
    const float now = clock_.SecondsSinceMidnight();
    if (now_queued < queued) {
      last_progress = now;
    } else if (ElapsedSince(last_progress, now) > kStallSeconds) {
      return false;
    }
    queued = now_queued;
  }
  return port_.IsOpen();
}

void LineSender::SendFirstLine(std::string_view line) {
  started_ = clock_.SecondsSinceMidnight();
  bytes_sent_ = 0;
  Write(line);
}

void LineSender::SendLine(std::string_view line,
                          const FlashControls& controls) {
  if (controls.char_delay_ticked) {
    for (char c : line) {
      Write(std::string_view(&c, 1));
      Wait(DelaySeconds(controls.char_delay_text));
    }
    Write("\r\n");
    Wait(DelaySeconds(controls.char_delay_text));
  } else {
    Write(line);
  }
  if (controls.line_delay_ticked) {
    Wait(DelaySeconds(controls.line_delay_text));
  }
}

double LineSender::SecondsUntilCarried() {
  const double line_time = static_cast<double>(bytes_sent_) * kSecondsPerByte;
  const double elapsed = ElapsedSince(started_, clock_.SecondsSinceMidnight());
  return std::max(0.0, line_time - elapsed);
}

void LineSender::Write(std::string_view bytes) {
  port_.Write(bytes);
  bytes_sent_ += static_cast<long>(bytes.size());
}

void LineSender::Wait(double seconds) {
  if (seconds > 0) clock_.Sleep(seconds);
}

}  // namespace ecu

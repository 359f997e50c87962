#ifndef ECU_SIM_SERIAL_LINE_H_
#define ECU_SIM_SERIAL_LINE_H_

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/link/frame.h"
#include "sim/transmission.h"

namespace ecu::sim {

// The timing of a real serial line, for a pseudo-terminal that moves bytes
// instantly. Incoming bytes count as arrived only once they would have
// crossed the line; outgoing bytes fall due one at a time, each when its
// last bit would have reached the other end. All times are absolute, so
// lateness in sending one byte never delays the ones after it.
class SerialLine {
 public:
  // 0 seconds per byte: no pacing, only the delays of the chunks.
  explicit SerialLine(double seconds_per_byte);

  // A byte read at `now_s`: returns when it would have been fully received,
  // queued behind the bytes before it.
  double Arrive(double now_s);

  // Queues the chunks of one reply to a request complete at `request_done_s`.
  // A reply never overtakes one still going out.
  void Send(const std::vector<Transmission>& chunks, double request_done_s);

  // Removes and returns the bytes due by `now_s`.
  std::string TakeDue(double now_s);
  // When the next queued byte falls due; nothing while the queue is empty.
  std::optional<double> NextDue() const;
  // Drops everything queued.
  void Clear() { outgoing_.clear(); }

 private:
  struct TimedByte {
    double due_s;
    char byte;
  };

  double seconds_per_byte_;
  double incoming_free_s_ = 0.0;  // when the last incoming byte arrived
  double outgoing_free_s_ = 0.0;  // when the last queued byte is out
  std::deque<TimedByte> outgoing_;
};

}  // namespace ecu::sim

#endif  // ECU_SIM_SERIAL_LINE_H_

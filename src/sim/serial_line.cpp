#include "sim/serial_line.h"

#include <algorithm>

namespace ecu::sim {

SerialLine::SerialLine(double seconds_per_byte)
    : seconds_per_byte_(seconds_per_byte) {}

double SerialLine::Arrive(double now_s) {
  incoming_free_s_ = std::max(incoming_free_s_, now_s) + seconds_per_byte_;
  return incoming_free_s_;
}

void SerialLine::Send(const std::vector<Transmission>& chunks,
                      double request_done_s) {
  double chunk_start_s = request_done_s;
  bool first = true;
  for (const Transmission& chunk : chunks) {
    chunk_start_s += chunk.delay_s;
    if (first) chunk_start_s = std::max(chunk_start_s, outgoing_free_s_);
    first = false;
    double due_s = chunk_start_s;
    for (char byte : chunk.bytes) {
      due_s += seconds_per_byte_;
      outgoing_.push_back({due_s, byte});
    }
    chunk_start_s = due_s;
    outgoing_free_s_ = due_s;
  }
}

std::string SerialLine::TakeDue(double now_s) {
  std::string due;
  while (!outgoing_.empty() && outgoing_.front().due_s <= now_s) {
    due.push_back(outgoing_.front().byte);
    outgoing_.pop_front();
  }
  return due;
}

std::optional<double> SerialLine::NextDue() const {
  if (outgoing_.empty()) return std::nullopt;
  return outgoing_.front().due_s;
}

}  // namespace ecu::sim

#include "support/virtual_line_port.h"

#include <algorithm>
#include <utility>

namespace ecu::testing {

VirtualLinePort::VirtualLinePort(FakeClock& clock, FarEnd far_end)
    : clock_(clock), far_end_(std::move(far_end)) {}

FarEnd FarEndOf(sim::VirtualEcu& ecu) {
  return [&ecu](std::string_view bytes, double now) {
    std::vector<LineChunk> chunks;
    for (sim::Transmission& t : ecu.Receive(bytes, now)) {
      chunks.push_back(LineChunk{std::move(t.bytes), t.delay_s});
    }
    return chunks;
  };
}

VirtualLinePort::VirtualLinePort(FakeClock& clock,
                                 const sim::SimOptions& options)
    : clock_(clock), ecu_(std::make_unique<sim::VirtualEcu>(options)) {
  far_end_ = FarEndOf(*ecu_);
}

bool VirtualLinePort::Open(const std::string& device) {
  ++opens_tried_;
  open_error_ = {};
  if (const auto failure = failures_.find(device); failure != failures_.end()) {
    open_error_ = failure->second;
    return false;
  }
  if (device.empty() || unplugged_) {
    open_error_ = failures_.at("/dev/missing");
    return false;
  }
  device_ = device;
  open_ = true;
  lost_reason_.clear();
  return true;
}

void VirtualLinePort::Unplug(std::string reason, int after_writes) {
  unplug_reason_ = std::move(reason);
  writes_until_unplug_ = after_writes;
  if (after_writes > 0) return;
  unplugged_ = true;
  writes_until_unplug_ = -1;
  if (open_) lost_reason_ = unplug_reason_;
  open_ = false;
  pending_.clear();
  received_.clear();
}

void VirtualLinePort::Write(std::string_view bytes) {
  if (!open_) return;
  written_.emplace_back(bytes);
  if (writes_until_unplug_ > 0 && --writes_until_unplug_ == 0) {
    Unplug(unplug_reason_);
    return;
  }
  const double start = std::max(clock_.now(), line_free_at_);
  const double received_at =
      start + kByteSeconds * static_cast<double>(bytes.size());
  line_free_at_ = received_at;
  const int code = bytes.size() > 2 ? static_cast<uint8_t>(bytes[2]) : -1;
  if (silent_codes.count(code) != 0) return;
  double at = received_at;
  for (LineChunk& chunk : far_end_(bytes, received_at)) {
    at +=
        chunk.delay_s + kByteSeconds * static_cast<double>(chunk.bytes.size());
    // In order of arrival, after any due at the same time; mostly at the
    // end, so a long run of unread replies costs no sorting.
    const auto place =
        std::upper_bound(pending_.begin(), pending_.end(), at,
                         [](double t, const Arrival& a) { return t < a.at; });
    pending_.insert(place, Arrival{at, std::move(chunk.bytes)});
  }
}

std::vector<int> VirtualLinePort::TakeCodes() {
  std::vector<int> codes;
  for (const std::string& frame : written_) {
    codes.push_back(static_cast<uint8_t>(frame[2]));
  }
  written_.clear();
  return codes;
}

std::vector<std::string> VirtualLinePort::TakeRequests() {
  std::vector<std::string> fields;
  for (const std::string& frame : written_)
    fields.push_back(frame.substr(2, 4));
  written_.clear();
  return fields;
}

void VirtualLinePort::Deliver() {
  while (!pending_.empty() && pending_.front().at <= clock_.now() + 1e-12) {
    received_ += pending_.front().bytes;
    pending_.pop_front();
  }
}

std::string VirtualLinePort::ReadAll() {
  Deliver();
  return std::exchange(received_, {});
}

int VirtualLinePort::BytesAvailable() {
  Deliver();
  return static_cast<int>(received_.size());
}

bool VirtualLinePort::WaitForReadyRead(double timeout_seconds) {
  if (!open_) return false;
  Deliver();
  const double deadline = clock_.now() + BoundedWait(timeout_seconds);
  if (!pending_.empty() && pending_.front().at <= deadline) {
    clock_.Advance(pending_.front().at - clock_.now());
    Deliver();
    return true;
  }
  clock_.Advance(deadline - clock_.now());
  return false;
}

}  // namespace ecu::testing

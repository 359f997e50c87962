#ifndef ECU_TESTS_CORE_FIRMWARE_RIG_H_
#define ECU_TESTS_CORE_FIRMWARE_RIG_H_

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "support/fake_clock.h"
#include "support/temp_folder.h"
#include "support/virtual_line_port.h"

namespace ecu::testing {

// One S1 record (16-bit address) with its byte count and checksum.
inline std::string S1Record(int address, const std::string& data) {
  std::vector<int> bytes = {static_cast<int>(data.size()) + 3,
                            (address >> 8) & 0xFF, address & 0xFF};
  for (char c : data) bytes.push_back(static_cast<unsigned char>(c));
  bytes.push_back(0);
  int sum = 0;
  for (size_t i = 0; i + 1 < bytes.size(); ++i) sum += bytes[i];
  bytes.back() = ~sum & 0xFF;
  std::string text = "S1";
  char hex[3];
  for (int b : bytes) {
    std::snprintf(hex, sizeof hex, "%02X", b);
    text += hex;
  }
  return text;
}

// A header, `records` S1 records of 16 bytes and the S9 end record.
inline std::vector<std::string> FirmwareLines(int records) {
  std::vector<std::string> lines = {"S00600004844521B"};
  for (int i = 0; i < records; ++i) {
    std::string data(16, '\0');
    for (int j = 0; j < 16; ++j) data[j] = static_cast<char>(i * 16 + j);
    lines.push_back(S1Record(i * 16, data));
  }
  lines.push_back("S9030000FC");
  return lines;
}

inline std::string RunTogether(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += line;
  return all;
}

// The in-memory line with a UART's transmit queue: written bytes wait until
// the line has carried them, and BytesToWrite counts them.
class QueuedLinePort : public VirtualLinePort {
 public:
  QueuedLinePort(FakeClock& clock, const sim::SimOptions& options)
      : VirtualLinePort(clock, options), clock_(clock) {}
  void Write(std::string_view bytes) override {
    largest_queue_ = std::max(largest_queue_, BytesToWrite());
    free_at_ = std::max(clock_.now(), free_at_) +
               kByteSeconds * static_cast<double>(bytes.size());
    VirtualLinePort::Write(bytes);
  }
  int BytesToWrite() override {
    const double left = (free_at_ - clock_.now()) / kByteSeconds;
    return std::max(0, static_cast<int>(std::ceil(left - 1e-6)));
  }
  // The longest queue any write found.
  int largest_queue() const { return largest_queue_; }

 private:
  FakeClock& clock_;
  double free_at_ = 0;
  int largest_queue_ = 0;
};

}  // namespace ecu::testing

#endif  // ECU_TESTS_CORE_FIRMWARE_RIG_H_

#ifndef ECU_TESTS_CORE_FIRMWARE_RIG_H_
#define ECU_TESTS_CORE_FIRMWARE_RIG_H_

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/firmware/flash_utility.h"
#include "support/counting_pump.h"
#include "support/fake_clock.h"
#include "support/scripted_prompts.h"
#include "support/virtual_line_port.h"

namespace ecu::testing {

// One S1 record (16-bit address) with its byte count and checksum.
inline std::string S1Record(int address, const std::string& data) {
  std::vector<int> bytes = {static_cast<int>(data.size()) + 3,
                            (address >> 8) & 0xFF, address & 0xFF};
  for (char c : data) bytes.push_back(static_cast<unsigned char>(c));
  int sum = 0;
  std::string text = "S1";
  char hex[3];
  for (int b : bytes) {
    sum += b;
    std::snprintf(hex, sizeof hex, "%02X", b);
    text += hex;
  }
  std::snprintf(hex, sizeof hex, "%02X", ~sum & 0xFF);
  return text + hex;
}

// A small firmware image: a header, `data_records` S1 records of 16 bytes
// and the S9 end record, one a line.
inline std::vector<std::string> FirmwareLines(int data_records) {
  std::vector<std::string> lines = {"S00600004844521B"};
  for (int i = 0; i < data_records; ++i) {
    std::string data;
    for (int j = 0; j < 16; ++j) data.push_back(static_cast<char>(i * 16 + j));
    lines.push_back(S1Record(i * 16, data));
  }
  lines.push_back("S9030000FC");
  return lines;
}

// What the loader receives in the default mode: the lines run together.
inline std::string RunTogether(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += line;
  return all;
}

// Test files in a fresh folder, removed with the object.
class TempFolder {
 public:
  TempFolder() {
    path_ = std::filesystem::temp_directory_path() /
            ("ecu-firmware-" + std::to_string(::getpid()) + "-" +
             std::to_string(counter_++));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  std::string Write(const std::string& name, const std::string& contents) {
    const std::filesystem::path file = path_ / name;
    std::ofstream(file, std::ios::binary) << contents;
    return file.string();
  }
  std::string WriteLines(const std::string& name,
                         const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return Write(name, text);
  }
  std::string Path(const std::string& name) const {
    return (path_ / name).string();
  }

 private:
  static inline int counter_ = 0;
  std::filesystem::path path_;
};

// The in-memory line with a UART's transmit queue: written bytes wait until
// the line has carried them, and BytesToWrite counts those still waiting.
class QueuedLinePort : public VirtualLinePort {
 public:
  QueuedLinePort(FakeClock& clock, const sim::SimOptions& options)
      : VirtualLinePort(clock, options), clock_(clock) {}

  void Write(std::string_view bytes) override {
    if (IsOpen()) {
      queued_at_writes_.push_back(BytesToWrite());
      free_at_ = std::max(clock_.now(), free_at_) +
                 kByteSeconds * static_cast<double>(bytes.size());
    }
    VirtualLinePort::Write(bytes);
  }
  int BytesToWrite() override {
    const double left = (free_at_ - clock_.now()) / kByteSeconds;
    return left <= 1e-6 ? 0 : static_cast<int>(std::ceil(left - 1e-6));
  }
  // The queue's length just before each write.
  const std::vector<int>& queued_at_writes() const { return queued_at_writes_; }

 private:
  FakeClock& clock_;
  double free_at_ = 0;
  std::vector<int> queued_at_writes_;
};

inline sim::SimOptions LoaderOptions() {
  sim::SimOptions options;
  options.loader_mode = true;
  return options;
}

// The flash utility over an in-memory line in virtual time. Window messages
// are the pump's: a test acts at them as a user would.
template <typename Port>
struct FlashRigOf {
  explicit FlashRigOf(const sim::SimOptions& options = LoaderOptions())
      : port(clock, options) {
    link.port_device = "/dev/virtual";
  }
  explicit FlashRigOf(FarEnd far_end) : port(clock, std::move(far_end)) {
    link.port_device = "/dev/virtual";
  }

  // Flash Program with the warning answered OK and `file` chosen.
  FlashOutcome Flash(const std::string& file) {
    prompts.QueueAnswer(Answer::kOk);
    prompts.QueueFileName(file);
    return utility.FlashProgram();
  }
  sim::FirmwareLoader& loader() { return port.ecu()->loader(); }

  FakeClock clock;
  Port port;
  ScriptedPrompts prompts;
  CountingPump pump;
  LinkState link;
  ConsoleState console;
  FlashUtility utility{FlashPlatform{port, clock, prompts, pump}, link,
                       &console};
  TempFolder files;
};

using FlashRig = FlashRigOf<VirtualLinePort>;
using QueuedFlashRig = FlashRigOf<QueuedLinePort>;

}  // namespace ecu::testing

#endif  // ECU_TESTS_CORE_FIRMWARE_RIG_H_

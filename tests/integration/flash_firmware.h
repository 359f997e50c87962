#ifndef ECU_TESTS_INTEGRATION_FLASH_FIRMWARE_H_
#define ECU_TESTS_INTEGRATION_FLASH_FIRMWARE_H_

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "support/processes.h"

namespace ecu::testing {

inline std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in),
                     std::istreambuf_iterator<char>());
}

// A fresh folder holding FW.S: firmware as a tuner gets it, random bytes
// made into S-records by objcopy (CR LF lines).
class FirmwareFolder {
 public:
  explicit FirmwareFolder(int bytes) {
    char pattern[] = "/tmp/ecu-flash-XXXXXX";
    path_ = mkdtemp(pattern);
    std::mt19937 random(static_cast<unsigned>(bytes));
    std::string data;
    for (int i = 0; i < bytes; ++i) data.push_back(static_cast<char>(random()));
    std::ofstream(File("fw.bin"), std::ios::binary) << data;
    RunProgram({"/usr/bin/objcopy", "-I", "binary", "-O", "srec",
                File("fw.bin"), File("FW.S")});
    const std::string text = ReadFileBytes(File("FW.S"));
    for (size_t at = 0; at < text.size();) {
      const size_t end = text.find("\r\n", at);
      lines_.push_back(text.substr(at, end - at));
      at = end == std::string::npos ? text.size() : end + 2;
    }
  }
  ~FirmwareFolder() { std::filesystem::remove_all(path_); }

  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // FW.S's lines without their CR LF.
  const std::vector<std::string>& lines() const { return lines_; }
  // What the loader must receive: "q", the first line as read, then
  // `later` lines run together, or each followed by CR LF with the
  // character delay.
  std::string LoaderStream(bool char_delay, size_t later) const {
    std::string stream = "q" + lines_.front();
    for (size_t i = 1; i <= later && i < lines_.size(); ++i) {
      stream += lines_[i] + (char_delay ? "\r\n" : "");
    }
    return stream;
  }

 private:
  std::string path_;
  std::vector<std::string> lines_;
};

}  // namespace ecu::testing

#endif  // ECU_TESTS_INTEGRATION_FLASH_FIRMWARE_H_

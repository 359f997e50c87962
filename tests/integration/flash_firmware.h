#ifndef ECU_TESTS_INTEGRATION_FLASH_FIRMWARE_H_
#define ECU_TESTS_INTEGRATION_FLASH_FIRMWARE_H_

#include <random>
#include <string>
#include <vector>

#include "support/processes.h"
#include "support/temp_folder.h"

namespace ecu::testing {

// A fresh folder holding FW.S: firmware as a tuner gets it, random bytes
// made into S-records by objcopy (CR LF lines).
class FirmwareFolder : public TempFolder {
 public:
  explicit FirmwareFolder(int bytes) {
    std::mt19937 random(static_cast<unsigned>(bytes));
    std::string data;
    for (int i = 0; i < bytes; ++i) data.push_back(static_cast<char>(random()));
    Write("fw.bin", data);
    RunProgram({"/usr/bin/objcopy", "-I", "binary", "-O", "srec",
                Path("fw.bin"), Path("FW.S")});
    lines_ = CrLfLines(Read("FW.S"));
  }

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
  std::vector<std::string> lines_;
};

}  // namespace ecu::testing

#endif  // ECU_TESTS_INTEGRATION_FLASH_FIRMWARE_H_

#ifndef ECU_TESTS_INTEGRATION_FLASH_FIRMWARE_H_
#define ECU_TESTS_INTEGRATION_FLASH_FIRMWARE_H_

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

inline void WriteFirmwareLines(const std::string& path,
                               const std::vector<std::string>& lines) {
  std::ofstream out(path, std::ios::binary);
  for (const std::string& line : lines) out << line << "\r\n";
}

// Firmware as a tuner gets it: `bytes` random bytes made into S-records by
// objcopy, written to FOLDER/FW.S. Returns its lines without their CR LF.
inline std::vector<std::string> MakeFirmware(const std::string& folder,
                                             int bytes) {
  std::mt19937 random(static_cast<unsigned>(bytes));
  std::string data;
  for (int i = 0; i < bytes; ++i) data.push_back(static_cast<char>(random()));
  std::ofstream(folder + "/fw.bin", std::ios::binary) << data;
  RunProgram({"/usr/bin/objcopy", "-I", "binary", "-O", "srec",
              folder + "/fw.bin", folder + "/FW.S"});
  std::vector<std::string> lines;
  const std::string text = ReadFileBytes(folder + "/FW.S");
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find("\r\n", at);
    lines.push_back(text.substr(at, end - at));
    at = end == std::string::npos ? text.size() : end + 2;
  }
  return lines;
}

// What the loader must receive: "q", the first line as read, then the later
// lines run together, or each followed by CR LF with the character delay.
inline std::string LoaderStream(const std::vector<std::string>& lines,
                                bool char_delay, size_t later_lines) {
  std::string stream = "q" + lines.front();
  for (size_t i = 1; i <= later_lines && i < lines.size(); ++i) {
    stream += lines[i] + (char_delay ? "\r\n" : "");
  }
  return stream;
}

}  // namespace ecu::testing

#endif  // ECU_TESTS_INTEGRATION_FLASH_FIRMWARE_H_

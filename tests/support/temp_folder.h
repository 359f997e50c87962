#ifndef ECU_TESTS_SUPPORT_TEMP_FOLDER_H_
#define ECU_TESTS_SUPPORT_TEMP_FOLDER_H_

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/text.h"

namespace ecu::testing {

// Files in a fresh folder, removed with the object.
class TempFolder {
 public:
  TempFolder()
      : path_(std::filesystem::temp_directory_path() /
              ("ecu-test-" + std::to_string(::getpid()) + "-" +
               std::to_string(counter_++))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string path() const { return path_.string(); }
  std::string Path(const std::string& name) const {
    return (path_ / name).string();
  }
  std::string Write(const std::string& name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary) << text;
    return Path(name);
  }
  std::string WriteLines(const std::string& name,
                         const std::vector<std::string>& lines) const {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return Write(name, text);
  }
  std::string Read(const std::string& name) const {
    return ReadText(Path(name));
  }

 private:
  static inline int counter_ = 0;
  std::filesystem::path path_;
};

}  // namespace ecu::testing

#endif  // ECU_TESTS_SUPPORT_TEMP_FOLDER_H_

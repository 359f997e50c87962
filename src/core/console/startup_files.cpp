#include "core/console/startup_files.h"

#include <filesystem>
#include <fstream>

namespace ecu {

namespace fs = std::filesystem;

bool MasterModeFileExists(const std::string& folder) {
  std::error_code ignored;
  return fs::exists(fs::path(folder) / "debug.ini", ignored);
}

std::string ReadOemText(const std::string& folder) {
  std::ifstream in(fs::path(folder) / "OEM.TXT", std::ios::binary);
  std::string text;
  std::string line;
  while (std::getline(in, line)) {
    // Lines end in CR LF or LF; both ends are dropped, CR alone is added.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    text += line;
    text += '\r';
  }
  return text;
}

std::string OemPicturePath(const std::string& folder) {
  return (fs::path(folder) / "OEM.JPG").string();
}

}  // namespace ecu

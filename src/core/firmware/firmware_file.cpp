#include "core/firmware/firmware_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace ecu {

std::optional<std::vector<std::string>> ReadFirmwareLines(
    const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text;
  try {
    text.assign(std::istreambuf_iterator<char>(in),
                std::istreambuf_iterator<char>());
  } catch (const std::ios_base::failure&) {
    return std::nullopt;  // a read error part way
  }
  std::vector<std::string> lines;
  std::string line;
  bool open_line = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.push_back(std::move(line));
      line.clear();
      open_line = false;
    } else {
      line.push_back(c);
      open_line = true;
    }
  }
  if (open_line) lines.push_back(std::move(line));
  if (lines.empty()) return std::nullopt;
  return lines;
}

}  // namespace ecu

#include "core/text_file.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

namespace ecu {

ReplacingFile::ReplacingFile(std::string path) : path_(std::move(path)) {
  temp_path_ = path_ + ".tmp" + std::to_string(getpid());
  file_ = std::fopen(temp_path_.c_str(), "wb");
  if (file_ == nullptr) open_error_ = std::strerror(errno);
}

ReplacingFile::~ReplacingFile() {
  if (file_ != nullptr) {
    std::fclose(file_);
    std::remove(temp_path_.c_str());
  }
}

void ReplacingFile::Write(const std::string& text) {
  if (file_ == nullptr) return;
  if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) {
    failed_ = true;
  }
}

bool ReplacingFile::Commit() {
  if (file_ == nullptr) return false;
  bool ok = !failed_ && std::fflush(file_) == 0 && fsync(fileno(file_)) == 0;
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  if (ok) {
    std::error_code error;
    std::filesystem::rename(temp_path_, path_, error);
    ok = !error;
  }
  if (!ok) std::remove(temp_path_.c_str());
  return ok;
}

std::optional<std::string> ReadTextFile(const std::string& path) {
  std::error_code error;
  // A folder opens on some systems, and reads as nothing.
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::stringstream text;
  text << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return text.str();
}

TextLine LineAt(std::string_view all, size_t start) {
  TextLine line;
  const size_t end = std::min(all.find_first_of("\r\n", start), all.size());
  line.text = all.substr(start, end - start);
  line.ended = end < all.size();
  line.next = end + (all.substr(end, 2) == "\r\n" ? 2 : 1);
  return line;
}

bool WriteFileReplacing(const std::string& path, const std::string& contents) {
  ReplacingFile file(path);
  file.Write(contents);
  return file.Commit();
}

}  // namespace ecu

#ifndef ECU_CORE_TEXT_FILE_H_
#define ECU_CORE_TEXT_FILE_H_

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace ecu {

// The whole of a regular file, or nothing when it cannot be read (missing,
// a folder, no permission, a read error).
std::optional<std::string> ReadTextFile(const std::string& path);

// One line of a text and where the next one starts. CR LF, LF and a lone
// CR each end a line, so that a file from any system reads line for line
// (a lone CR must not hide the lines after it); a last line without its end
// is a line too.
struct TextLine {
  std::string_view text;  // without its end
  size_t next = 0;
  bool ended = false;  // false for a last line without its end
};
TextLine LineAt(std::string_view all, size_t start);

// Writes `contents` to a temporary file beside `path` and renames it into
// place, so the old file survives any failure. False when it fails.
bool WriteFileReplacing(const std::string& path, const std::string& contents);

// A file written line by line that replaces `path` only when Commit()
// succeeds; until then (and after a failure) the old file stays untouched.
class ReplacingFile {
 public:
  explicit ReplacingFile(std::string path);
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  bool is_open() const { return file_ != nullptr; }
  // Why the temporary file could not be made, when it could not.
  const std::string& open_error() const { return open_error_; }
  void Write(const std::string& text);
  // Flushes, syncs and renames the temporary file into place.
  bool Commit();

 private:
  std::string path_;
  std::string temp_path_;
  std::string open_error_;
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};

}  // namespace ecu

#endif  // ECU_CORE_TEXT_FILE_H_

#include "core/console/log_file_choice.h"

#include <filesystem>

namespace ecu {
namespace {

namespace fs = std::filesystem;

constexpr int kMostNumbers = 9999;

bool Taken(const fs::path& path) {
  std::error_code error;
  // A dangling link or an unreadable entry is taken too: never write over
  // something we cannot look at.
  return fs::symlink_status(path, error).type() != fs::file_type::not_found;
}

// The bytes of a file that holds something, 0 for an empty or missing one.
uintmax_t HeldBytes(const std::string& name) {
  std::error_code error;
  const uintmax_t size = fs::file_size(name, error);
  return error ? 0 : size;
}

}  // namespace

std::string NextFreeLogName(const std::string& name) {
  const fs::path path(name);
  std::string stem = path.stem().string();
  const std::string extension = path.extension().string();
  // RUN-3 counts on from 3 rather than becoming RUN-3-1.
  int first = 1;
  const size_t dash = stem.find_last_of('-');
  if (dash != std::string::npos && dash + 1 < stem.size() &&
      stem.size() - dash <= 5 &&
      stem.find_first_not_of("0123456789", dash + 1) == std::string::npos) {
    first = std::stoi(stem.substr(dash + 1)) + 1;
    stem.resize(dash);
  }
  for (int n = first; n <= kMostNumbers; ++n) {
    const fs::path candidate =
        path.parent_path() / (stem + "-" + std::to_string(n) + extension);
    if (!Taken(candidate)) return candidate.string();
  }
  return {};
}

std::optional<std::string> ChooseLogFile(const std::string& name,
                                         Prompts& prompts) {
  const uintmax_t bytes = HeldBytes(name);
  if (bytes == 0) return name;
  const std::string free_name = NextFreeLogName(name);
  Message box;
  box.title = "Start Log";
  box.icon = Icon::kQuestion;
  box.buttons = free_name.empty() ? Buttons::kOkCancel : Buttons::kYesNoCancel;
  box.text = "The log file " + name + " already holds " +
             std::to_string(bytes) + " bytes.";
  if (free_name.empty()) {
    box.text += "\n\nOK replaces it; Cancel keeps it and does not start.";
    box.default_button = 1;
    if (prompts.Show(box) == Answer::kOk) return name;
    return std::nullopt;
  }
  box.text += "\n\nYes replaces it.\nNo keeps it and logs to " + free_name +
              " instead.\nCancel does not start logging.";
  box.default_button = 1;
  switch (prompts.Show(box)) {
    case Answer::kYes:
      return name;
    case Answer::kNo:
      return free_name;
    default:
      return std::nullopt;
  }
}

}  // namespace ecu

#include "core/console/opened_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace ecu {
namespace {

std::string LowerExtension(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  return extension;
}

void OpenSetupFile(const std::string& path, const std::string& name,
                   Prompts& prompts, const FileActions& actions) {
  Message question;
  question.icon = Icon::kQuestion;
  if (actions.compare_setup) {
    question.title = "Open Setup File";
    question.text = "What should be done with the setup file " + name +
                    "?\n\nYes: load it into the ECU (every value in the file "
                    "is written).\nNo: compare it with the ECU (nothing is "
                    "written).\nCancel: neither.";
    question.buttons = Buttons::kYesNoCancel;
    question.default_button = 1;
  } else {
    question.title = "CAUTION!";
    question.text = "Load the setup file " + name +
                    " into the ECU? Every value in the file is written.";
    question.buttons = Buttons::kYesNo;
    question.default_button = 1;
  }
  switch (prompts.Show(question)) {
    case Answer::kYes:
      if (actions.load_setup) actions.load_setup(path);
      break;
    case Answer::kNo:
      if (actions.compare_setup) actions.compare_setup(path);
      break;
    default:
      break;
  }
}

}  // namespace

FileKind KindOfFile(const std::string& path) {
  const std::string extension = LowerExtension(path);
  if (extension == ".set") return FileKind::kSetupFile;
  if (extension == ".csv") return FileKind::kDataLog;
  return FileKind::kOther;
}

void OpenNamedFile(const std::string& path, Prompts& prompts,
                   const FileActions& actions) {
  const std::string name = std::filesystem::path(path).filename().string();
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error) ||
      !std::ifstream(path).good()) {
    prompts.Tell("The file " + path +
                 " could not be opened: it does not exist or cannot be "
                 "read. Check the name and the folder's permissions.");
    return;
  }
  switch (KindOfFile(path)) {
    case FileKind::kSetupFile:
      OpenSetupFile(path, name, prompts, actions);
      return;
    case FileKind::kDataLog:
      if (actions.view_log) {
        actions.view_log(path);
      } else {
        prompts.Tell(name +
                     " is a data log. This console has no log viewer; open "
                     "the log in a spreadsheet.");
      }
      return;
    case FileKind::kOther:
      prompts.Tell(name +
                   " is neither a setup file (.SET) nor a data log (.CSV), "
                   "the files the console opens.");
      return;
  }
}

}  // namespace ecu

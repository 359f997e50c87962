#ifndef ECU_CORE_CONSOLE_OPENED_FILE_H_
#define ECU_CORE_CONSOLE_OPENED_FILE_H_

#include <functional>
#include <string>

#include "core/platform/prompts.h"

namespace ecu {

// A file named on the console's command line, as a file manager passes it
// ("Open With"): a setup file or a data log, told by its extension.
enum class FileKind { kSetupFile, kDataLog, kOther };
FileKind KindOfFile(const std::string& path);

// What the console can do with such a file. An empty action is one this
// build lacks; the question then leaves it out.
struct FileActions {
  std::function<void(const std::string&)> load_setup;     // into the ECU
  std::function<void(const std::string&)> compare_setup;  // with the ECU
  std::function<void(const std::string&)> view_log;       // the log viewer
};

// Asks what to do with `path` where there is a choice, and does it. A
// setup file is written into the ECU only on an explicit Yes; the default
// answer writes nothing.
void OpenNamedFile(const std::string& path, Prompts& prompts,
                   const FileActions& actions);

}  // namespace ecu

#endif  // ECU_CORE_CONSOLE_OPENED_FILE_H_

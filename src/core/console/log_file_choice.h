#ifndef ECU_CORE_CONSOLE_LOG_FILE_CHOICE_H_
#define ECU_CORE_CONSOLE_LOG_FILE_CHOICE_H_

#include <optional>
#include <string>

#include "core/platform/prompts.h"

namespace ecu {

// The first name beside `name` that no file has: PLOTTER.CSV gives
// PLOTTER-1.CSV, then PLOTTER-2.CSV; RUN-3.CSV counts on from 3. Empty when
// thousands are taken.
std::string NextFreeLogName(const std::string& name);

// The file a new log goes to. A file of that name that already holds data
// (a drive's log under the default name) is replaced only when the user
// says so; the default answer keeps it and logs to the next free name.
// Nothing when the user cancelled.
std::optional<std::string> ChooseLogFile(const std::string& name,
                                         Prompts& prompts);

}  // namespace ecu

#endif  // ECU_CORE_CONSOLE_LOG_FILE_CHOICE_H_

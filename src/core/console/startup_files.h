#ifndef ECU_CORE_CONSOLE_STARTUP_FILES_H_
#define ECU_CORE_CONSOLE_STARTUP_FILES_H_

#include <string>

namespace ecu {

inline constexpr char kConsoleTitle[] = "ECU System Console";
inline constexpr char kMasterModeTitle[] = "ECU System Console [Master Mode]";
inline constexpr char kConsoleRevision[] = "V1.01.03  09/14/08";

// Master mode is on when "debug.ini" exists in the folder; its contents are
// never read.
bool MasterModeFileExists(const std::string& folder);

// The about box text from "OEM.TXT": every line followed by a carriage
// return. A missing or unreadable file gives an empty text.
std::string ReadOemText(const std::string& folder);

// The path of "OEM.JPG" in the folder (it may not exist).
std::string OemPicturePath(const std::string& folder);

}  // namespace ecu

#endif  // ECU_CORE_CONSOLE_STARTUP_FILES_H_

#ifndef ECU_QT_CONFIG_FOLDER_H_
#define ECU_QT_CONFIG_FOLDER_H_

#include <string>

#include "core/link/port_config.h"

namespace ecu {

// How this process runs: its folder, whether it is an installed program
// (the desktop entry sits where the install rules put it, relative to the
// program), and the console's per-user folder, the XDG config folder that
// QStandardPaths::AppConfigLocation gives the console ("ecu-console").
// ecu-cli shares that folder, so both find one port choice.
ConfigPlaces ThisProgramsConfigPlaces();

// Where port.cfg lives for this process.
std::string ConsoleConfigFolder();

}  // namespace ecu

#endif  // ECU_QT_CONFIG_FOLDER_H_

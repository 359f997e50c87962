#ifndef ECU_CORE_LINK_PORT_CONFIG_H_
#define ECU_CORE_LINK_PORT_CONFIG_H_

#include <string>

#include "core/link/link_state.h"

namespace ecu {

inline constexpr char kPortConfigName[] = "port.cfg";

// Where a program of the console runs from, and the per-user folder it
// would use instead.
struct ConfigPlaces {
  std::string program_folder;
  // Installed with the system's or the user's other programs (a package, a
  // `cmake --install`), not run from where it was built or unpacked.
  bool installed = false;
  std::string user_folder;  // the XDG config folder, e.g. ~/.config/ecu-console
};

// The folder that holds port.cfg: $ECU_CONSOLE_CONFIG_DIR when set, else the
// program's folder when it is writable and the program is not installed,
// else the per-user folder (made when missing).
std::string PortConfigFolder(const ConfigPlaces& places);

// The device name of COM port n: "COMn" on Windows, /dev/ttyS(n-1) elsewhere;
// empty for a number below 1, which names no port.
std::string DeviceForComPort(int n);

// What port.cfg says: a port number (with its device) or a device path.
struct PortChoice {
  int16_t number = 0;
  std::string device;
};

// Reads the stored choice. A missing or unreadable file, or one that holds
// neither a number nor a path, means no port chosen.
PortChoice ReadPortChoice(const std::string& folder);

// Applies the stored choice to the link state: the number, the device and
// the check mark of the Comm menu (entries 1..6 only).
void ApplyPortChoice(const PortChoice& choice, LinkState* state);

// Rewrites port.cfg with the single line holding `choice` (a number or a
// path), replacing the file in one step. False when it cannot be written.
bool WritePortChoice(const std::string& folder, const std::string& choice);

}  // namespace ecu

#endif  // ECU_CORE_LINK_PORT_CONFIG_H_

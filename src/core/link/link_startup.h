#ifndef ECU_CORE_LINK_LINK_STARTUP_H_
#define ECU_CORE_LINK_LINK_STARTUP_H_

#include <string>
#include <vector>

#include "core/link/link_state.h"
#include "core/platform/prompts.h"

namespace ecu {

// The whole command-line text after the program name, words joined by one
// space, as the demo rule reads it.
std::string CommandLineText(const std::vector<std::string>& arguments);

// Start-up of the link: demo mode when the command line is exactly "demo"
// (told once), then the port choice from port.cfg in `config_folder`. The
// port is not opened here.
void StartLink(const std::string& command_line,
               const std::string& config_folder, LinkState& state,
               Prompts& prompts);

// The Comm menu: stores port n (or a device path) in port.cfg and moves the
// check mark. The open port is left alone; the choice counts from the next
// start.
void SelectPort(int n, const std::string& config_folder, LinkState& state,
                Prompts& prompts);
bool SelectPortDevice(const std::string& device,
                      const std::string& config_folder, LinkState& state,
                      Prompts& prompts);

}  // namespace ecu

#endif  // ECU_CORE_LINK_LINK_STARTUP_H_

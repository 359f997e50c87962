#include "core/link/link_startup.h"

#include "core/link/port_config.h"

namespace ecu {
namespace {

bool StoreChoice(const std::string& text, const std::string& folder,
                 Prompts& prompts) {
  if (WritePortChoice(folder, text)) return true;
  prompts.Tell("The port choice could not be saved in " + folder + "/" +
               kPortConfigName +
               ". Check that the folder exists and may be written.");
  return false;
}

}  // namespace

std::string CommandLineText(const std::vector<std::string>& arguments) {
  std::string text;
  for (const std::string& word : arguments) {
    if (!text.empty()) text += ' ';
    text += word;
  }
  return text;
}

void StartLink(const std::string& command_line,
               const std::string& config_folder, LinkState& state,
               Prompts& prompts) {
  state.demo_mode = false;
  if (command_line == "demo") {
    state.demo_mode = true;
    prompts.Tell(
        "Demo Mode has been selected, Communicatons will not be performed.");
  }
  ApplyPortChoice(ReadPortChoice(config_folder), &state);
}

void SelectPort(int n, const std::string& config_folder, LinkState& state,
                Prompts& prompts) {
  StoreChoice(std::to_string(n), config_folder, prompts);
  state.checked_port_entry = (n >= 1 && n <= 6) ? n : 0;
}

bool SelectPortDevice(const std::string& device,
                      const std::string& config_folder, LinkState& state,
                      Prompts& prompts) {
  if (device.empty()) return false;
  state.checked_port_entry = 0;
  return StoreChoice(device, config_folder, prompts);
}

}  // namespace ecu

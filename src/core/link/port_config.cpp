#include "core/link/port_config.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>

#include "core/numbers/leading_number.h"
#include "core/numbers/rounding.h"
#include "core/text_file.h"

namespace ecu {

namespace fs = std::filesystem;

std::string PortConfigFolder(const ConfigPlaces& places) {
  if (const char* dir = std::getenv("ECU_CONSOLE_CONFIG_DIR");
      dir != nullptr && *dir != '\0') {
    return dir;
  }
  // An installed program's folder is shared by every user (and writable by
  // root), so its port choice belongs to the user, not beside the program.
  if (!places.installed && !places.program_folder.empty() &&
      access(places.program_folder.c_str(), W_OK) == 0) {
    return places.program_folder;
  }
  if (places.user_folder.empty()) return ".";
  std::error_code ignored;
  fs::create_directories(places.user_folder, ignored);
  return places.user_folder;
}

std::string DeviceForComPort(int n) {
  if (n < 1) return "";
#ifdef _WIN32
  return "COM" + std::to_string(n);
#else
  return "/dev/ttyS" + std::to_string(n - 1);
#endif
}

PortChoice ReadPortChoice(const std::string& folder) {
  PortChoice choice;
  std::ifstream in(fs::path(folder) / kPortConfigName);
  std::string line;
  if (!in || !std::getline(in, line)) return choice;
  const size_t first = line.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return choice;
  const size_t last = line.find_last_not_of(" \t\r\n");
  line = line.substr(first, last - first + 1);
  if (StartsWithNumber(line)) {
    const int64_t n = RoundHalfEven(LeadingNumber(line));
    if (n < std::numeric_limits<int16_t>::min() ||
        n > std::numeric_limits<int16_t>::max()) {
      return choice;
    }
    choice.number = static_cast<int16_t>(n);
    choice.device = DeviceForComPort(choice.number);
  } else {
    choice.device = line;
  }
  return choice;
}

void ApplyPortChoice(const PortChoice& choice, LinkState* state) {
  state->port_number = choice.number;
  state->port_device = choice.device;
  state->checked_port_entry =
      (choice.number >= 1 && choice.number <= 6) ? choice.number : 0;
}

bool WritePortChoice(const std::string& folder, const std::string& choice) {
  return WriteFileReplacing((fs::path(folder) / kPortConfigName).string(),
                            choice + "\r\n");
}

}  // namespace ecu

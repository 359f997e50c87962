#include "sim/traffic_log.h"

#include <cstdio>

namespace ecu::sim {

std::string CodeName(uint8_t code) {
  char text[8];
  if (code >= 0x20 && code < 0x7F) {
    std::snprintf(text, sizeof text, "'%c'", code);
  } else {
    std::snprintf(text, sizeof text, "#%u", code);
  }
  return text;
}

std::string HexBytes(std::string_view bytes) {
  std::string text;
  for (char c : bytes) {
    char pair[4];
    std::snprintf(pair, sizeof pair, "%02X", static_cast<uint8_t>(c));
    if (!text.empty()) text += ' ';
    text += pair;
  }
  return text;
}

std::string TrafficLine(double time_s, std::string_view direction,
                        std::string_view bytes, std::string_view note) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%12.6f ", time_s);
  std::string line = stamp;
  line += direction;
  if (bytes.size() > 2) {
    line += ' ';
    line += CodeName(static_cast<uint8_t>(bytes[2]));
  }
  if (!bytes.empty()) {
    line += ' ';
    line += HexBytes(bytes);
  }
  if (!note.empty()) {
    line += " [";
    line += note;
    line += ']';
  }
  return line;
}

}  // namespace ecu::sim

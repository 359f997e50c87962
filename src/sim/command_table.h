#ifndef ECU_SIM_COMMAND_TABLE_H_
#define ECU_SIM_COMMAND_TABLE_H_

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace ecu::sim {

// One request as the ECU sees it: the command code, its three argument
// bytes, and the time its last byte arrived.
struct Request {
  uint8_t code = 0;
  std::array<uint8_t, 3> args{};
  double time_s = 0.0;
};

// Answers one request with the data bytes of its reply (what follows the
// echoed code), or nothing when the ECU stays silent.
using CommandHandler =
    std::function<std::optional<std::string>(const Request& request)>;

// Code -> handler. Live frames, controller commands and the calibration
// memory each register their own codes, so none of them knows the others.
class CommandTable {
 public:
  // Registers (or replaces) the handler of a code.
  void Add(uint8_t code, CommandHandler handler);
  bool Has(uint8_t code) const;
  // The reply data, or nothing for an unknown code or a silent handler.
  std::optional<std::string> Answer(const Request& request) const;

 private:
  std::array<CommandHandler, 256> handlers_{};
};

}  // namespace ecu::sim

#endif  // ECU_SIM_COMMAND_TABLE_H_

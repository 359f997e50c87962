#include "sim/command_table.h"

#include <utility>

namespace ecu::sim {

void CommandTable::Add(uint8_t code, CommandHandler handler) {
  handlers_[code] = std::move(handler);
}

bool CommandTable::Has(uint8_t code) const {
  return static_cast<bool>(handlers_[code]);
}

std::optional<std::string> CommandTable::Answer(const Request& request) const {
  const CommandHandler& handler = handlers_[request.code];
  if (!handler) return std::nullopt;
  return handler(request);
}

}  // namespace ecu::sim

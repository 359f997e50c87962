#include "sim/controller_commands.h"

#include <optional>
#include <string>

namespace ecu::sim {
namespace {

std::string OneByte(int value) {
  return std::string(1, static_cast<char>(value & 0xFF));
}

}  // namespace

void AddControllerCommands(CommandTable& table, ControllerState& controller,
                           EngineModel& engine, CalibrationMemory& memory) {
  table.Add(kControllerCode,
            [&controller,
             &engine](const Request& request) -> std::optional<std::string> {
              switch (request.args[0]) {
                case kResetArgument:
                  ++controller.resets;
                  controller.awaiting_firmware = false;
                  engine.Restart();
                  return OneByte(kResetArgument);
                case kReflashArgument:
                  controller.awaiting_firmware = true;
                  return OneByte(kReflashArgument);
                default:
                  // Not a controller command the firmware knows.
                  return std::nullopt;
              }
            });

  table.Add(kRevisionCode, [&controller](const Request&) {
    const int revision = controller.revision & 0xFFFF;
    return std::optional(OneByte(revision) + OneByte(revision >> 8));
  });

  table.Add(kSerialNumberCode, [&controller](const Request&) {
    const uint32_t serial = controller.serial_number;
    return std::optional(OneByte(serial) + OneByte(serial >> 8) +
                         OneByte(serial >> 16));
  });

  table.Add(kEgoOnCode, [&engine](const Request&) {
    engine.set_ego_closed_loop(true);
    return std::optional(std::string());
  });
  table.Add(kEgoOffCode, [&engine](const Request&) {
    engine.set_ego_closed_loop(false);
    return std::optional(std::string());
  });

  const auto capture = [&engine, &memory](const char* key) {
    return [&engine, &memory, key](const Request&) {
      const int reading = engine.state().throttle_adc;
      memory.SetScalar(key, reading);
      return std::optional(OneByte(reading));
    };
  };
  table.Add(kCaptureTpsClosedCode, capture("TPS_BASE"));
  table.Add(kCaptureTpsOpenCode, capture("TPS_FS_V"));
}

}  // namespace ecu::sim

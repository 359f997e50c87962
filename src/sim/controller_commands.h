#ifndef ECU_SIM_CONTROLLER_COMMANDS_H_
#define ECU_SIM_CONTROLLER_COMMANDS_H_

#include <cstdint>

#include "sim/calibration_memory.h"
#include "sim/command_table.h"
#include "sim/engine_model.h"

namespace ecu::sim {

inline constexpr uint8_t kControllerCode = 174;
inline constexpr uint8_t kResetArgument = 165;
inline constexpr uint8_t kReflashArgument = 90;
inline constexpr uint8_t kRevisionCode = 'R';
inline constexpr uint8_t kSerialNumberCode = '-';
inline constexpr uint8_t kEgoOnCode = 'd';
inline constexpr uint8_t kEgoOffCode = 'D';
inline constexpr uint8_t kCaptureTpsClosedCode = 215;
inline constexpr uint8_t kCaptureTpsOpenCode = 216;

// What the controller itself remembers between commands.
struct ControllerState {
  int revision = 10103;
  uint32_t serial_number = 123456;
  // Set by "prepare to re-flash": the controller has stopped and waits for
  // new firmware through its loader.
  bool awaiting_firmware = false;
  int resets = 0;
};

// Registers reset / prepare to re-flash (174), revision ("R"), serial number
// ("-"), the EGO loop switch ("d", "D") and the throttle captures (215, 216).
// A capture stores the reading as TPS_BASE or TPS_FS_V in the calibration.
void AddControllerCommands(CommandTable& table, ControllerState& controller,
                           EngineModel& engine, CalibrationMemory& memory);

}  // namespace ecu::sim

#endif  // ECU_SIM_CONTROLLER_COMMANDS_H_

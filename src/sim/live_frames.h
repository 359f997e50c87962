#ifndef ECU_SIM_LIVE_FRAMES_H_
#define ECU_SIM_LIVE_FRAMES_H_

#include <string>

#include "sim/calibration_memory.h"
#include "sim/command_table.h"
#include "sim/engine_model.h"
#include "sim/live_scaling.h"

namespace ecu::sim {

// Command codes of the four live frames.
inline constexpr uint8_t kMainFrameCode = 'A';
inline constexpr uint8_t kAuxFrameCode = 'F';
inline constexpr uint8_t kIdleAirFrameCode = 152;
inline constexpr uint8_t kActiveMapFrameCode = 178;

// The data bytes of each live reply (after the echoed code).
std::string MainFrameData(const EngineState& state,
                          const LiveScaling& scaling);     // 20 bytes
std::string AuxFrameData(const EngineState& state);        // 4 bytes
std::string IdleAirFrameData(const EngineState& state);    // 6 bytes
std::string ActiveMapFrameData(const EngineState& state);  // 7 bytes

// Registers "A", "F", 152 and 178, answered from the engine as it runs.
void AddLiveCommands(CommandTable& table, const EngineModel& engine,
                     const CalibrationMemory& memory);

}  // namespace ecu::sim

#endif  // ECU_SIM_LIVE_FRAMES_H_

#ifndef ECU_SIM_VIRTUAL_ECU_H_
#define ECU_SIM_VIRTUAL_ECU_H_

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/calibration_memory.h"
#include "sim/command_table.h"
#include "sim/controller_commands.h"
#include "sim/engine_model.h"
#include "sim/firmware_loader.h"
#include "sim/reply_faults.h"
#include "sim/request_reader.h"
#include "sim/sim_options.h"
#include "sim/transmission.h"

namespace ecu::sim {

// The ECU on the far end of the line: reads request frames, answers each
// from its command table, and spoils replies as the options ask. It knows no
// clock and no port; whoever carries the bytes says what time it is and
// sends the chunks it gets back.
class VirtualEcu {
 public:
  explicit VirtualEcu(const SimOptions& options);
  // The handlers hold references into this object.
  VirtualEcu(const VirtualEcu&) = delete;
  VirtualEcu& operator=(const VirtualEcu&) = delete;

  // Bytes arriving from the console at `now_s` (seconds, monotonic). Returns
  // the chunks to send back, in order.
  std::vector<Transmission> Receive(std::string_view bytes, double now_s);

  // Called with one line for every request received and every reply sent.
  void set_log(std::function<void(const std::string& line)> log);

  // The handlers by code; more commands plug in here.
  CommandTable& commands() { return commands_; }
  CalibrationMemory& memory() { return memory_; }
  EngineModel& engine() { return engine_; }
  ControllerState& controller() { return controller_; }
  const ControllerState& controller() const { return controller_; }
  // Owns the line while the controller awaits new firmware.
  FirmwareLoader& loader() { return loader_; }
  // Replies made so far, dropped ones included.
  int replies() const { return faults_.replies(); }

 private:
  void Log(double time_s, std::string_view direction, std::string_view bytes,
           std::string_view note);

  // Switches to the fault phase of `now_s` when the options ask for a
  // cycle of faults.
  void FollowFaultCycle(double now_s);

  SimOptions options_;
  // The options in force: options_, or the fault cycle's present phase.
  SimOptions active_;
  int fault_phase_ = 0;
  RequestReader reader_;
  ReplyFaults faults_;
  EngineModel engine_;
  CalibrationMemory memory_;
  ControllerState controller_;
  FirmwareLoader loader_;
  CommandTable commands_;
  std::function<void(const std::string&)> log_;
};

}  // namespace ecu::sim

#endif  // ECU_SIM_VIRTUAL_ECU_H_

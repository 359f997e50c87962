#include "sim/virtual_ecu.h"

#include <string>
#include <utility>

#include "core/link/frame.h"
#include "sim/calibration_commands.h"
#include "sim/fault_cycle.h"
#include "sim/fuel_requirement.h"
#include "sim/live_frames.h"
#include "sim/memory_seed.h"
#include "sim/traffic_log.h"

namespace ecu::sim {
namespace {

Request RequestOf(std::string_view frame, double time_s) {
  Request request;
  request.code = ByteAt(frame, 2);
  for (size_t i = 0; i < request.args.size(); ++i) {
    request.args[i] = ByteAt(frame, 3 + i);
  }
  request.time_s = time_s;
  return request;
}

}  // namespace

VirtualEcu::VirtualEcu(const SimOptions& options)
    : options_(options),
      active_(options),
      faults_(options),
      engine_(options.seed, options.drive, options.time_scale) {
  controller_.revision = options.revision;
  controller_.serial_number = options.serial_number;
  controller_.awaiting_firmware = options.loader_mode;
  AddLiveCommands(commands_, engine_, memory_);
  AddControllerCommands(commands_, controller_, engine_, memory_);
  AddCalibrationCommands(commands_, memory_);
  FillCalibration(memory_, options);
  // A random calibration keeps its random map; otherwise the map is the
  // engine's requirement, as far off as asked.
  if (!options.random_calibration) {
    WriteFuelMap(memory_, engine_.true_fuel_map(),
                 options.true_map_error_percent, options.seed);
  }
  engine_.set_calibration(&memory_);
}

void VirtualEcu::set_log(std::function<void(const std::string& line)> log) {
  log_ = std::move(log);
}

std::vector<Transmission> VirtualEcu::Receive(std::string_view bytes,
                                              double now_s) {
  std::vector<Transmission> out;
  if (controller_.awaiting_firmware) {
    // The loader has the line: no request frames are read meanwhile.
    std::string said;
    const size_t taken = loader_.Receive(bytes, &said);
    if (!said.empty()) {
      Log(now_s, "tx", said, "loader");
      out.push_back(Transmission{std::move(said), 0.0});
    }
    if (taken == bytes.size()) return out;
    // The flash is complete and the controller restarts on the new firmware.
    controller_.awaiting_firmware = false;
    loader_.Restart();
    engine_.Restart();
    bytes.remove_prefix(taken);
  }
  int skipped = 0;
  const std::vector<std::string> requests = reader_.Add(bytes, &skipped);
  if (skipped > 0) {
    Log(now_s, "rx", {},
        "skipped " + std::to_string(skipped) + " byte(s) of noise");
  }
  if (!requests.empty()) FollowFaultCycle(now_s);
  for (const std::string& frame : requests) {
    engine_.AdvanceTo(now_s);
    if (active_.silent) {
      Log(now_s, "rx", frame, "silent");
      continue;
    }
    const Request request = RequestOf(frame, now_s);
    const std::optional<std::string> data = commands_.Answer(request);
    if (!data) {
      Log(now_s, "rx", frame, "no reply");
      continue;
    }
    Log(now_s, "rx", frame, {});
    const std::string good_reply = BuildReply(request.code, *data);
    ShapedReply reply = faults_.Shape(good_reply);
    // The log shows what went on the line, or what was held back.
    std::string sent;
    for (const Transmission& chunk : reply.chunks) sent += chunk.bytes;
    Log(now_s, "tx", reply.chunks.empty() ? good_reply : sent, reply.faults);
    for (Transmission& chunk : reply.chunks) out.push_back(std::move(chunk));
  }
  return out;
}

void VirtualEcu::FollowFaultCycle(double now_s) {
  if (!(options_.fault_cycle_s > 0)) return;
  const int phase = FaultPhaseAt(now_s, options_.fault_cycle_s);
  if (phase == fault_phase_) return;
  fault_phase_ = phase;
  active_ = WithFaultPhase(options_, phase);
  faults_.set_options(active_);
  Log(now_s, "--", {}, std::string("faults: ") + FaultPhaseName(phase));
}

void VirtualEcu::Log(double time_s, std::string_view direction,
                     std::string_view bytes, std::string_view note) {
  if (log_) log_(TrafficLine(time_s, direction, bytes, note));
}

}  // namespace ecu::sim

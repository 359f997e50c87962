#ifndef ECU_TESTS_CORE_EDITOR_RIG_H_
#define ECU_TESTS_CORE_EDITOR_RIG_H_

#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/ecu_context.h"
#include "core/link/frame.h"
#include "sim/virtual_ecu.h"
#include "support/context_rig.h"

namespace ecu::testing {

// A console core over the virtual ECU in virtual time, link made ready. The
// ECU's calibration memory answers reads and echoes writes, but only of the
// commands in `answered` (all when it is empty) and never for the cells in
// `silent`, as from an ECU that never hears them.
struct EditorRig : ContextRig {
  // By default the ECU knows the fuel map's commands only: the table cells,
  // the program block, the cut-in speed and the injector writes.
  explicit EditorRig(bool demo = false) : EditorRig(sim::SimOptions{}, demo) {
    answered = {'E', 'e', 'X', 'x', 'B', 'Z', 'z', 'm', 'o'};
  }
  EditorRig(const sim::SimOptions& options, bool demo)
      : ContextRig([this](std::string_view bytes, double now) {
          return Answer(bytes, now);
        }),
        ecu(options) {
    ctx.link_state.demo_mode = demo;
    ctx.link.EnsureLink();
    port.ClearWritten();
  }

  sim::CalibrationMemory& memory() { return ecu.memory(); }

  // The request fields (code and three argument bytes) written since the
  // last call.
  std::vector<std::string> TakeRequests() {
    std::vector<std::string> fields;
    for (const std::string& frame : port.written()) {
      fields.push_back(frame.substr(2, 4));
    }
    port.ClearWritten();
    return fields;
  }

  // Runs `action` from the window messages served while a live request is
  // on the line, as a user's click would; the request is taken away.
  void DuringLiveRequest(const std::function<void()>& action) {
    bool done = false;
    pump.set_on_pump([&] {
      if (!std::exchange(done, true)) action();
    });
    std::ignore = ctx.link.SendCommand("A");
    pump.set_on_pump(nullptr);
    TakeRequests();
  }

  std::set<int> answered;
  // Addresses of one-byte ("E"/"e") and two-byte ("X"/"x") cells.
  std::set<int> silent;
  sim::VirtualEcu ecu;

 private:
  std::vector<LineChunk> Answer(std::string_view request, double now) {
    const uint8_t code = ByteAt(request, 2);
    if (!answered.empty() && answered.count(code) == 0) return {};
    const bool byte_cell = code == 'E' || code == 'e';
    const bool word_cell = code == 'X' || code == 'x';
    const int address = byte_cell ? U16At(request, 3) : ByteAt(request, 3);
    if ((byte_cell || word_cell) && silent.count(address) != 0) return {};
    std::vector<LineChunk> chunks;
    for (sim::Transmission& t : ecu.Receive(request, now)) {
      chunks.push_back({std::move(t.bytes), t.delay_s});
    }
    return chunks;
  }
};

}  // namespace ecu::testing

#endif  // ECU_TESTS_CORE_EDITOR_RIG_H_

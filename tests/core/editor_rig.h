#ifndef ECU_TESTS_CORE_EDITOR_RIG_H_
#define ECU_TESTS_CORE_EDITOR_RIG_H_

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/ecu_context.h"
#include "core/link/frame.h"
#include "support/counting_pump.h"
#include "support/fake_clock.h"
#include "support/scripted_prompts.h"
#include "support/virtual_line_port.h"

namespace ecu::testing {

// Just enough of an ECU's calibration memory for the editors: the table
// cells ("E"/"e", "X"/"x"), the program block "B", the cut-in speed
// ("Z"/"z") and the injector writes "m" and "o", each write echoed.
// Addresses in `silent` are never answered.
class StandInEcu {
 public:
  std::map<int, int> bytes;  // one-byte cells by address
  std::map<int, int> words;  // two-byte cells by address
  int fuel_mx = 6375;        // 10.2 ms
  int fuel_b = 16056;        // -0.525 ms
  int tps_rpm = 38;
  std::set<int> silent;

  std::vector<LineChunk> Answer(std::string_view request) {
    const uint8_t code = ByteAt(request, 2);
    const int a1 = ByteAt(request, 3);
    const int a2 = ByteAt(request, 4);
    const int a3 = ByteAt(request, 5);
    auto reply = [](uint8_t c, std::string data) {
      return std::vector<LineChunk>{{BuildReply(c, data)}};
    };
    auto word = [](int v) {
      return std::string{static_cast<char>(v & 0xFF),
                         static_cast<char>(v >> 8)};
    };
    switch (code) {
      case 'e':
        bytes[a1 + 256 * a2] = a3;
        [[fallthrough]];
      case 'E': {
        const int address = a1 + 256 * a2;
        if (silent.count(address)) return {};
        return reply(code, word(address) + static_cast<char>(bytes[address]));
      }
      case 'x':
        words[a1] = a2 + 256 * a3;
        [[fallthrough]];
      case 'X':
        if (silent.count(a1)) return {};
        return reply(code,
                     std::string(1, static_cast<char>(a1)) + word(words[a1]));
      case 'B':
        return reply(code, word(fuel_b) + word(fuel_mx) + word(0) + word(0) +
                               std::string(1, '\0'));
      case 'z':
        tps_rpm = a1 + 256 * a2;
        [[fallthrough]];
      case 'Z':
        return reply(code, word(tps_rpm));
      case 'm':
        fuel_mx = a1 + 256 * a2;
        return reply(code, word(fuel_mx));
      case 'o':
        fuel_b = a1 + 256 * a2;
        return reply(code, word(fuel_b));
      default:
        return {};
    }
  }
};

// A console core over the stand-in ECU in virtual time, link made ready.
struct EditorRig {
  explicit EditorRig(bool demo = false)
      : port(clock, [this](std::string_view bytes, double) {
          return ecu.Answer(bytes);
        }) {
    MakeReady(demo);
  }
  // Over the virtual ECU instead, whose calibration memory answers every
  // read and echoes every write.
  EditorRig(const sim::SimOptions& options, bool demo) : port(clock, options) {
    MakeReady(demo);
  }

  void MakeReady(bool demo) {
    ctx.link_state.port_device = "/dev/virtual";
    ctx.link_state.demo_mode = demo;
    ctx.link.EnsureLink();
    port.ClearWritten();
  }
  sim::CalibrationMemory& memory() { return port.ecu()->memory(); }

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

  StandInEcu ecu;
  FakeClock clock;
  VirtualLinePort port;
  ScriptedPrompts prompts;
  CountingPump pump;
  EcuContext ctx{port, clock, prompts, pump};
};

}  // namespace ecu::testing

#endif  // ECU_TESTS_CORE_EDITOR_RIG_H_

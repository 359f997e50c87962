#ifndef ECU_TESTS_CORE_CONFIGURATION_RIG_H_
#define ECU_TESTS_CORE_CONFIGURATION_RIG_H_

#include <set>
#include <string>
#include <vector>

#include "core/ecu_context.h"
#include "core/editors/configuration_editor.h"
#include "core/link/frame.h"
#include "sim/virtual_ecu.h"
#include "support/context_rig.h"

namespace ecu::testing {

// One request as the virtual ECU received it: the command field and the
// virtual time its last byte arrived.
struct SeenRequest {
  std::string field;
  double at;
};

// The configuration editor over the virtual ECU in virtual time, link made
// ready. Codes in `silent` are never answered.
struct ConfigurationRig : ContextRig {
  explicit ConfigurationRig(bool demo = false, sim::SimOptions options = {})
      : ContextRig([this](std::string_view bytes, double now) {
          return Answer(bytes, now);
        }),
        ecu(options) {
    ctx.link_state.demo_mode = demo;
    ctx.link.EnsureLink();
  }

  std::vector<LineChunk> Answer(std::string_view bytes, double now) {
    seen.push_back({std::string(bytes.substr(2, 4)), now});
    if (silent.count(ByteAt(bytes, 2)) != 0) return {};
    std::vector<LineChunk> chunks;
    for (sim::Transmission& t : ecu.Receive(bytes, now)) {
      chunks.push_back({std::move(t.bytes), t.delay_s});
    }
    return chunks;
  }

  // The request fields seen since the last call (repeats of an unanswered
  // request included).
  std::vector<std::string> TakeRequests() {
    std::vector<std::string> fields;
    for (const SeenRequest& r : seen) fields.push_back(r.field);
    seen.clear();
    return fields;
  }

  // Activation, run at once (the link is idle), then a clean slate.
  void Fill() {
    editor.Activate();
    seen.clear();
    prompts.Clear();
  }
  void Type(std::string_view field, const std::string& text) {
    editor.fields().Edited({field, 0}, text);
  }
  const EditorCell& Field(std::string_view field) {
    return editor.fields().cell({field, 0});
  }
  int Scalar(std::string_view key) { return ecu.memory().ScalarOr(key, -1); }

  sim::VirtualEcu ecu;
  std::set<int> silent;
  std::vector<SeenRequest> seen;
  ConfigurationEditor editor{ctx.editors()};
};

}  // namespace ecu::testing

#endif  // ECU_TESTS_CORE_CONFIGURATION_RIG_H_

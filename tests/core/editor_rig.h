#ifndef ECU_TESTS_CORE_EDITOR_RIG_H_
#define ECU_TESTS_CORE_EDITOR_RIG_H_

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/ecu_context.h"
#include "core/editors/configuration_editor.h"
#include "core/editors/fuel_map_editor.h"
#include "core/link/frame.h"
#include "sim/virtual_ecu.h"
#include "support/context_rig.h"

namespace ecu::testing {

using Texts = std::vector<std::string>;
// Texts to type, in typing order.
using CellEntries = std::vector<std::pair<CellRef, std::string>>;
using FieldEntries = std::vector<std::pair<std::string_view, std::string>>;

// One request as the virtual ECU received it: the command field and the
// virtual time its last byte arrived.
struct SeenRequest {
  std::string field;
  double at;
};

// A console core over the virtual ECU in virtual time, link made ready. The
// ECU's calibration memory answers reads and echoes writes, but only of the
// commands in `answered` (all when it is empty), never of the codes in
// `silent_codes` and never for the cells in `silent`, as from an ECU that
// never hears them.
struct EditorRig : ContextRig {
  explicit EditorRig(const sim::SimOptions& options = {}, bool demo = false)
      : ContextRig([this](std::string_view bytes, double now) {
          return Answer(bytes, now);
        }),
        ecu(options) {
    ctx.link_state.demo_mode = demo;
    ctx.link.EnsureLink();
    seen.clear();
  }

  sim::CalibrationMemory& memory() { return ecu.memory(); }

  // The request fields (code and three argument bytes) seen since the last
  // call, repeats of an unanswered request included.
  Texts TakeRequests() {
    Texts fields;
    for (const SeenRequest& r : seen) fields.push_back(r.field);
    seen.clear();
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
  std::set<int> silent_codes;
  // Addresses of one-byte ("E"/"e") and two-byte ("X"/"x") cells.
  std::set<int> silent;
  std::vector<SeenRequest> seen;
  sim::VirtualEcu ecu;

 private:
  std::vector<LineChunk> Answer(std::string_view request, double now) {
    seen.push_back({std::string(request.substr(2, 4)), now});
    const uint8_t code = ByteAt(request, 2);
    if (!answered.empty() && answered.count(code) == 0) return {};
    if (silent_codes.count(code) != 0) return {};
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

// Command fields of one-byte table cells.
inline std::string ByteRead(int address) {
  return Command('E', address & 0xFF, address >> 8, 0);
}
inline std::string ByteWrite(int address, int raw) {
  return Command('e', address & 0xFF, address >> 8, raw);
}
inline std::string MapWrite(int index, int raw) {
  return ByteWrite(0x100 + index, raw);
}
inline void AddByteReads(Texts& reads, int first, int count) {
  for (int i = 0; i < count; ++i) reads.push_back(ByteRead(first + i));
}

// A cell's text, and "*" after it while it is marked for the next update.
inline std::string StateOf(const TableEditor& cells, CellRef ref) {
  return cells.text(ref) + (cells.cell(ref).changed() ? "*" : "");
}
// The state of every cell, or of every cell of the family `only`.
inline Texts States(const TableEditor& cells, std::string_view only = {}) {
  Texts states;
  for (const CellFamily& family : cells.families()) {
    if (!only.empty() && family.name != only) continue;
    for (int i = 0; i < family.count; ++i) {
      states.push_back(StateOf(cells, {family.name, i}));
    }
  }
  return states;
}

// An editor of cells over the virtual ECU, not yet activated.
template <typename Editor>
struct CellsRig : EditorRig {
  explicit CellsRig(bool demo = false) : EditorRig(sim::SimOptions{}, demo) {}
  TableEditor& cells() { return editor.cells(); }
  const EditorCell& Cell(std::string_view family, int i) {
    return cells().cell({family, i});
  }
  const std::string& Text(std::string_view family, int i) {
    return cells().text({family, i});
  }
  std::string State(std::string_view family, int i) {
    return StateOf(cells(), {family, i});
  }
  void Type(CellRef ref, const std::string& text) { cells().Edited(ref, text); }
  void TypeAll(const CellEntries& typed) {
    for (const auto& [ref, text] : typed) Type(ref, text);
  }
  KeyOutcome Key(CellRef ref, EditorKey key, bool shift = false) {
    return editor.KeyPressed(ref, {.key = key, .shift = shift});
  }
  // Where the key moved the focus; nothing when the key was left to the text.
  std::optional<CellRef> Move(CellRef ref, EditorKey key) {
    const KeyOutcome outcome = Key(ref, key);
    return outcome.handled ? outcome.focus : std::nullopt;
  }
  // Types `typed` and runs the update: the requests it sent.
  Texts Sent(const CellEntries& typed = {}) {
    TypeAll(typed);
    editor.RequestUpdate();
    return TakeRequests();
  }
  Editor editor{ctx.editors()};
};

// Basic Mapping over the virtual ECU, not yet activated.
struct FuelMapRig : CellsRig<FuelMapEditor> {
  explicit FuelMapRig(bool demo = false) : CellsRig(demo) {
    // The table cells, the program block, the cut-in speed and the injectors.
    answered = {'E', 'e', 'X', 'x', 'B', 'Z', 'z', 'm', 'o'};
  }
  // Every map cell of the ECU at `raw`.
  void FillMap(int raw) {
    for (int i = 0; i < kMapCellCount; ++i) {
      memory().SetTableByte(0x100 + i, raw);
    }
  }
  // Filled with every cell at 1.00; requests and messages taken away.
  void FillFlat() {
    FillMap(128);
    editor.Activate();
    TakeRequests();
    prompts.Clear();
  }
};

// The configuration editor over the virtual ECU, which answers every code.
struct ConfigurationRig : EditorRig {
  explicit ConfigurationRig(bool demo = false, sim::SimOptions options = {})
      : EditorRig(options, demo) {}

  // Activation, run at once (the link is idle), then a clean slate.
  void Fill() {
    editor.Activate();
    seen.clear();
    prompts.Clear();
  }
  void Type(std::string_view field, const std::string& text) {
    editor.fields().Edited({field, 0}, text);
  }
  // Types `typed` and runs the update: the requests it sent.
  Texts Sent(const FieldEntries& typed = {}) {
    for (const auto& [field, text] : typed) Type(field, text);
    editor.Update();
    return TakeRequests();
  }
  const EditorCell& Field(std::string_view field) {
    return editor.fields().cell({field, 0});
  }
  std::string State(std::string_view field) {
    return StateOf(editor.fields(), {field, 0});
  }
  int Scalar(std::string_view key) { return ecu.memory().ScalarOr(key, -1); }

  ConfigurationEditor editor{ctx.editors()};
};

}  // namespace ecu::testing

#endif  // ECU_TESTS_CORE_EDITOR_RIG_H_

#include "core/editors/configuration_switches.h"

#include <algorithm>

namespace ecu {
namespace {

// OPTIONS bits.
constexpr uint8_t kTpsMappedBit = 1;
constexpr uint8_t kMapAccelBit = 2;
constexpr uint8_t kAltIgnitionBit = 4;
constexpr uint8_t kSpecial2Bit = 8;

Rgb MarkColour(bool marked) { return marked ? kChangedMark : kPlainText; }

// The phase row a control name stands for, or -1.
int PhaseRowOf(std::string_view name) {
  const auto found =
      std::find(kPhaseRowNames.begin(), kPhaseRowNames.end(), name);
  if (found == kPhaseRowNames.end()) return -1;
  return static_cast<int>(found - kPhaseRowNames.begin());
}

bool InRange(int index, int count) { return index >= 0 && index < count; }

}  // namespace

std::vector<SwitchRef> ConfigurationSwitches::All() {
  std::vector<SwitchRef> all;
  for (int k = 0; k < kMapTypes; ++k) all.push_back({kMapType, k});
  all.push_back({kTpsMapped});
  all.push_back({kMapAccel});
  all.push_back({kSpecialConfig, 0});
  all.push_back({kSpecialConfig, 1});
  all.push_back({kEgoType, kNarrowEgo});
  all.push_back({kEgoType, kWideEgo});
  for (std::string_view row : kPhaseRowNames) {
    for (int d = 0; d < kInjectorDrivers; ++d) all.push_back({row, d});
  }
  return all;
}

SwitchState ConfigurationSwitches::state(SwitchRef ref) const {
  // Unread controls show the change colour, as unread fields do.
  if (ref.name == kTpsMapped) {
    return {tps_mapped_.on,
            MarkColour(tps_mapped_.marked || !tps_mapped_.known), true,
            tps_mapped_.known};
  }
  if (ref.name == kMapAccel) {
    return {map_accel_.on, MarkColour(map_accel_.marked || !map_accel_.known),
            true, map_accel_.known};
  }
  if (ref.name == kSpecialConfig && InRange(ref.index, 2)) {
    return {special_known_ && special_cfg_ == ref.index,
            MarkColour(special_marks_[static_cast<size_t>(ref.index)] ||
                       !special_known_),
            master_mode_, special_known_};
  }
  if (ref.name == kMapType) {
    return {map_type_known_ && map_type_ == ref.index,
            MarkColour(ref.index == 0 && map_type_marked_), master_mode_,
            map_type_known_};
  }
  if (ref.name == kEgoType) {
    return {ego_type_known_ && ego_type_ == ref.index,
            MarkColour(ref.index == 0 && ego_type_marked_), true,
            ego_type_known_};
  }
  const int row = PhaseRowOf(ref.name);
  if (row >= 0 && InRange(ref.index, kInjectorDrivers)) {
    const PhaseRow& r = rows_[Row(row)];
    return {r.known && ((r.mask >> ref.index) & 1) != 0, kPlainText, true,
            r.known};
  }
  return {};
}

void ConfigurationSwitches::Click(SwitchRef ref) {
  if (!state(ref).enabled) return;
  // A click on an unknown control makes it what the user now sees: a
  // check box ticked, a phase row with only the clicked box ticked.
  if (ref.name == kTpsMapped) {
    tps_mapped_ = {!tps_mapped_.on || !tps_mapped_.known, true, true};
  } else if (ref.name == kMapAccel) {
    map_accel_ = {!map_accel_.on || !map_accel_.known, true, true};
  } else if (ref.name == kSpecialConfig && InRange(ref.index, 2)) {
    special_cfg_ = ref.index;
    special_marks_[static_cast<size_t>(ref.index)] = true;
    special_known_ = true;
  } else if (ref.name == kMapType && InRange(ref.index, kMapTypes)) {
    map_type_ = ref.index;
    map_type_marked_ = true;
    map_type_known_ = true;
  } else if (ref.name == kEgoType && InRange(ref.index, 2)) {
    ego_type_ = ref.index;
    ego_type_marked_ = true;
    ego_type_known_ = true;
  } else if (const int row = PhaseRowOf(ref.name);
             row >= 0 && InRange(ref.index, kInjectorDrivers)) {
    PhaseRow& r = rows_[Row(row)];
    const auto bit = static_cast<uint8_t>(1 << ref.index);
    r = {static_cast<uint8_t>(r.known ? r.mask ^ bit : bit), true, true};
  } else {
    return;
  }
  Changed();
}

bool ConfigurationSwitches::marked(SwitchRef ref) const {
  if (ref.name == kTpsMapped) return tps_mapped_.marked;
  if (ref.name == kMapAccel) return map_accel_.marked;
  if (ref.name == kSpecialConfig && InRange(ref.index, 2)) {
    return special_marks_[static_cast<size_t>(ref.index)];
  }
  if (ref.name == kMapType) return map_type_marked_;
  if (ref.name == kEgoType) return ego_type_marked_;
  const int row = PhaseRowOf(ref.name);
  return row >= 0 && rows_[Row(row)].marked;
}

void ConfigurationSwitches::Show(const FieldUpdate& update) {
  const bool on = update.raw != 0;
  const std::string_view field = update.field;
  // A control still waiting to be sent keeps what the user chose.
  const SwitchRef ref =
      field == kPhaseRowField && InRange(update.index, kPhaseRows)
          ? SwitchRef{kPhaseRowNames[Row(update.index)]}
          : SwitchRef{field, update.index};
  if (holding_ && marked(ref)) return;
  if (field == kTpsMapped) {
    tps_mapped_ = {on, false, true};
  } else if (field == kMapAccel) {
    map_accel_ = {on, false, true};
  } else if (field == kSpecialConfig && InRange(update.index, 2)) {
    // Option buttons: setting one clears the other, clearing the chosen one
    // leaves neither chosen.
    if (on) {
      special_cfg_ = update.index;
    } else if (special_cfg_ == update.index) {
      special_cfg_ = kNoOption;
    }
    special_marks_[static_cast<size_t>(update.index)] = false;
    special_known_ = true;
  } else if (field == kMapType) {
    map_type_ = update.raw & 3;
    map_type_marked_ = false;
    map_type_known_ = true;
  } else if (field == kEgoType) {
    ego_type_ = (update.raw & 1) != 0 ? kWideEgo : kNarrowEgo;
    ego_type_marked_ = false;
    ego_type_known_ = true;
  } else if (field == kPhaseRowField && InRange(update.index, kPhaseRows)) {
    rows_[Row(update.index)] = {static_cast<uint8_t>(update.raw & 0xFF), false,
                                true};
  } else {
    return;
  }
  Changed();
}

void ConfigurationSwitches::Subscribe(FieldBoard& board) {
  if (!subscriptions_.empty()) return;
  for (std::string_view field : {kTpsMapped, kMapAccel, kSpecialConfig,
                                 kMapType, kEgoType, kPhaseRowField}) {
    subscriptions_.push_back(
        board.Subscribe(kConfigurationWindow, field,
                        [this](const FieldUpdate& update) { Show(update); }));
  }
}

void ConfigurationSwitches::MarkUnread(bool master_mode) {
  master_mode_ = master_mode;
  // Unsent choices give way to what the ECU holds, as the fields' do.
  for (PhaseRow& row : rows_) row = {};
  tps_mapped_ = {};
  map_accel_ = {};
  special_cfg_ = kNoOption;
  special_marks_ = {false, false};
  special_known_ = false;
  map_type_marked_ = false;
  map_type_known_ = false;
  ego_type_marked_ = false;
  ego_type_known_ = false;
  Changed();
}

void ConfigurationSwitches::ShowDemo() {
  for (PhaseRow& row : rows_) row = {0, false, true};
  tps_mapped_ = {false, false, true};
  map_accel_ = {false, false, true};
  special_known_ = true;
  map_type_ = 0;
  map_type_known_ = true;
  ego_type_ = kNarrowEgo;
  ego_type_known_ = true;
  Changed();
}

int ConfigurationSwitches::unknown_count() const {
  const auto rows = std::count_if(rows_.begin(), rows_.end(),
                                  [](const PhaseRow& r) { return !r.known; });
  return static_cast<int>(rows) + (options_known() ? 0 : 1) +
         (map_type_known_ ? 0 : 1) + (ego_type_known_ ? 0 : 1);
}

bool ConfigurationSwitches::any_row_marked() const {
  return std::any_of(rows_.begin(), rows_.end(),
                     [](const PhaseRow& row) { return row.marked; });
}

uint8_t ConfigurationSwitches::options_byte() const {
  uint8_t byte = 0;
  if (tps_mapped_.on) byte |= kTpsMappedBit;
  if (map_accel_.on) byte |= kMapAccelBit;
  if (special_cfg_ == 0) byte |= kAltIgnitionBit;
  if (special_cfg_ == 1) byte |= kSpecial2Bit;
  return byte;
}

void ConfigurationSwitches::Changed() {
  if (changed_) changed_();
}

}  // namespace ecu

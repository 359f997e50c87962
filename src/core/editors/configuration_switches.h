#ifndef ECU_CORE_EDITORS_CONFIGURATION_SWITCHES_H_
#define ECU_CORE_EDITORS_CONFIGURATION_SWITCHES_H_

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "core/calibration/catalogue.h"
#include "core/calibration/field_board.h"
#include "core/editors/editor_colours.h"

namespace ecu {

// The check boxes and option buttons of "Configuration".
inline constexpr std::string_view kTpsMapped = "TPS_mapped";
inline constexpr std::string_view kMapAccel = "MAP_accel";
inline constexpr std::string_view kSpecialConfig = "special_cfg";
inline constexpr std::string_view kMapType = "map_type";
inline constexpr std::string_view kEgoType = "EGO_type";
// Row p of the injector phase matrix is inj_ph_<p>; box d of it ticks when
// injector driver d + 1 fires in engine phase p + 1.
inline constexpr std::string_view kPhaseRowField = "inj_ph";
inline constexpr std::array<std::string_view, 8> kPhaseRowNames = {
    "inj_ph_0", "inj_ph_1", "inj_ph_2", "inj_ph_3",
    "inj_ph_4", "inj_ph_5", "inj_ph_6", "inj_ph_7"};
inline constexpr int kPhaseRows = 8;
inline constexpr int kInjectorDrivers = 8;
inline constexpr int kMapTypes = 4;
inline constexpr int kNarrowEgo = 0;
inline constexpr int kWideEgo = 1;
inline constexpr int kNoOption = -1;

// A check box or option button by control name and element (kNoIndex for
// a single check box).
struct SwitchRef {
  std::string_view name;
  int index = kNoIndex;
  friend bool operator==(const SwitchRef&, const SwitchRef&) = default;
};

// What the window shows of one control. A check box or option group that
// was changed here and not yet confirmed by the ECU has yellow text. A
// control whose value was never read is unknown: no option chosen, a check
// box neither ticked nor clear.
struct SwitchState {
  bool on = false;
  Rgb text = kPlainText;
  bool enabled = true;
  bool known = true;
};

// The state behind those controls: the OPTIONS bits, the MAP sensor and
// EGO sensor choices, the phase matrix, and their change marks. The mark of
// an option group sits on its first button; a phase row's mark is its own.
// What was not read stays unknown until the ECU or the user gives a value:
// only marked controls are sent, and a click makes a control known.
class ConfigurationSwitches {
 public:
  // Every control, in the order of the window's frames.
  static std::vector<SwitchRef> All();

  SwitchState state(SwitchRef ref) const;
  // The user clicks a control; disabled ones take no clicks.
  void Click(SwitchRef ref);
  // A decoded reply or echo: shows the value and clears the mark.
  void Show(const FieldUpdate& update);

  // Decoded items reach the controls while subscribed.
  void Subscribe(FieldBoard& board);
  void Unsubscribe() { subscriptions_.clear(); }

  // The fill: every control unknown and unmarked until its reply comes
  // (the OPTIONS controls show the change colour meanwhile); the MAP sensor
  // and special options usable only in master mode.
  void MarkUnread(bool master_mode);
  // Demo mode: the first MAP sensor, nothing ticked, and no control marked.
  void ShowDemo();
  // Values still unknown: each phase row, the OPTIONS byte, the MAP sensor
  // and the EGO sensor count one each.
  int unknown_count() const;

  // While held, decoded items leave marked controls as they are.
  void set_holding(bool holding) { holding_ = holding; }

  bool marked(SwitchRef ref) const;
  bool row_marked(int row) const { return rows_[Row(row)].marked; }
  bool row_known(int row) const { return rows_[Row(row)].known; }
  bool any_row_marked() const;
  uint8_t row_mask(int row) const { return rows_[Row(row)].mask; }
  // The OPTIONS byte the four controls stand for; it can be sent only when
  // all four are known.
  uint8_t options_byte() const;
  bool options_known() const {
    return tps_mapped_.known && map_accel_.known && special_known_;
  }
  int map_type() const { return map_type_; }
  int ego_type() const { return ego_type_; }
  // The lambda fields take entries only for a wide-band sensor.
  bool lambda_enabled() const {
    return ego_type_known_ && ego_type_ == kWideEgo;
  }

  void set_changed(std::function<void()> changed) {
    changed_ = std::move(changed);
  }

 private:
  struct Toggle {
    bool on = false;
    bool marked = false;
    bool known = false;
  };
  struct PhaseRow {
    uint8_t mask = 0;
    bool marked = false;
    bool known = false;
  };
  static size_t Row(int row) { return static_cast<size_t>(row); }
  void Changed();

  Toggle tps_mapped_;
  Toggle map_accel_;
  int special_cfg_ = kNoOption;
  std::array<bool, 2> special_marks_{};
  bool special_known_ = false;
  int map_type_ = 0;
  bool map_type_marked_ = false;
  bool map_type_known_ = false;
  int ego_type_ = kNarrowEgo;
  bool ego_type_marked_ = false;
  bool ego_type_known_ = false;
  bool master_mode_ = false;
  std::array<PhaseRow, kPhaseRows> rows_{};
  bool holding_ = false;
  std::vector<FieldBoard::Subscription> subscriptions_;
  std::function<void()> changed_;
};

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_CONFIGURATION_SWITCHES_H_

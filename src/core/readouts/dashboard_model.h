#ifndef ECU_CORE_READOUTS_DASHBOARD_MODEL_H_
#define ECU_CORE_READOUTS_DASHBOARD_MODEL_H_

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "core/ecu_context.h"
#include "core/editors/editor_colours.h"
#include "core/editors/table_editor.h"
#include "core/link/window_activation.h"
#include "core/units/mixture_units.h"

namespace ecu {

// What one analogue gauge shows: the pointer and the scale. Numbered ticks
// every `step` from `minimum` to `maximum`; the scale is marked as a
// warning from `warning_start` and red from `red_start`.
struct GaugeSetting {
  double value = 0;
  double minimum = 0;
  double maximum = 0;
  double step = 0;
  double red_start = 0;
  double warning_start = 0;
};

// The tachometer's scale (x 1000 rev/min) for a full-scale speed.
struct TachometerScale {
  double maximum;
  double step;
};
TachometerScale TachometerScaleFor(double full_scale_rpm);

// The manifold gauge's scale for the MAP sensor spans the ECU knows (115,
// 255 and 551 kPa); nothing for any other span.
std::optional<GaugeSetting> ManifoldScaleFor(double map_span);

// The mixture lamp row: fifteen lamps from lean (0, Gamma 0.625 or less)
// over "= 1" (7) to rich (14, Gamma 1.375 or more).
inline constexpr int kMixtureLamps = 15;
int MixtureLampFor(double gamma);
// The marks over the lamp row, lean end first: lambda "1.4", "= 1", "0.6",
// or the same points as AFR for the fuel chosen.
std::array<std::string, 3> MixtureMarks(const MixtureUnits& units);
// A lit lamp's fill; an unlit lamp has none.
Rgb MixtureLampColour(int lamp);

// The "&Tachometer filtering" entries: Hard, Soft, No filter.
inline constexpr std::array<float, 3> kTachFilterFactors = {0.2f, 0.5f, 1.0f};
inline constexpr int kSoftFilterEntry = 1;

enum class EgoSwitch { kOn = 0, kOff = 1 };

// frm_dashboard's state and behaviour: five gauges, the lamp row, the EGO
// correction and switch, the tach filter and the injector adjustments (the
// fuel map's own cells and update, on this window's boxes).
class DashboardModel {
 public:
  explicit DashboardModel(EcuContext& ctx);
  DashboardModel(const DashboardModel&) = delete;
  DashboardModel& operator=(const DashboardModel&) = delete;

  // The window was shown: once it is up and the link is idle, it is
  // activated.
  void Shown();
  // Each activation: the configuration and program blocks are read again
  // and the tachometer and manifold gauges re-scaled.
  void Activate();
  // The window was hidden: decoded values no longer come here.
  void Hidden();
  // After each polling pass in the dashboard's mode.
  void Refresh();

  void SwitchEgo(EgoSwitch choice);  // ego_sw_i
  EgoSwitch ego_switch() const { return ego_switch_; }
  void ChooseTachFilter(int entry);  // menu_opts_tach_filt_num_i
  int tach_filter_entry() const { return tach_filter_entry_; }

  // ecu_pgm 0 and 1 with the fuel map's key rules and update.
  TableEditor& injectors() { return injectors_; }
  KeyOutcome KeyPressed(CellRef ref, const EditorKeyPress& key) {
    return injectors_.KeyPressed(ref, key);
  }
  void RequestUpdate() { injectors_.RequestUpdate(); }

  const GaugeSetting& tachometer() const { return tachometer_; }
  const GaugeSetting& water_temp() const { return water_temp_; }
  const GaugeSetting& air_temp() const { return air_temp_; }
  const GaugeSetting& manifold_pressure() const { return manifold_pressure_; }
  const GaugeSetting& bat_volts() const { return bat_volts_; }
  // The one lamp lit; it outlives hiding and showing the window.
  int lit_lamp() const { return lit_lamp_; }
  const std::string& ego_correction() const { return ego_correction_; }
  // The mixture units chosen for what the dashboard shows.
  const MixtureUnits& units() const { return ctx_.units; }

  // Called after anything shown changed.
  void set_changed(std::function<void()> changed) {
    changed_ = std::move(changed);
  }

 private:
  void ScaleGauges();
  void Changed() {
    if (changed_) changed_();
  }

  EcuContext& ctx_;
  TableEditor injectors_;
  WindowActivation activation_;
  GaugeSetting tachometer_;
  GaugeSetting water_temp_;
  GaugeSetting air_temp_;
  GaugeSetting manifold_pressure_;
  GaugeSetting bat_volts_;
  int lit_lamp_ = 0;
  std::string ego_correction_ = "0.00";
  EgoSwitch ego_switch_ = EgoSwitch::kOn;
  int tach_filter_entry_ = kSoftFilterEntry;
  std::function<void()> changed_;
};

}  // namespace ecu

#endif  // ECU_CORE_READOUTS_DASHBOARD_MODEL_H_

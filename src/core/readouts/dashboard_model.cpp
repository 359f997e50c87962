#include "core/readouts/dashboard_model.h"

#include <algorithm>
#include <tuple>

#include "core/calibration/calibration_requests.h"
#include "core/editors/injector_adjustments.h"
#include "core/link/controller_commands.h"
#include "core/numbers/number_format.h"
#include "core/numbers/rounding.h"

namespace ecu {
namespace {

// The demo program block, as the dashboard shows it.
constexpr const char* kDemoFuelScaler = "10.200";
constexpr const char* kDemoFuelOffset = "-.520";

// Design-time scales; the tachometer and manifold gauges are re-scaled on
// every activation.
constexpr GaugeSetting kTachometerDesign{
    .maximum = 8, .step = 1, .red_start = 6.5, .warning_start = 5.85};
constexpr GaugeSetting kWaterDesign{.minimum = -40,
                                    .maximum = 120,
                                    .step = 20,
                                    .red_start = 110,
                                    .warning_start = 100};
constexpr GaugeSetting kAirDesign{.minimum = -40,
                                  .maximum = 120,
                                  .step = 20,
                                  .red_start = 80,
                                  .warning_start = 60};
constexpr GaugeSetting kManifoldDesign{
    .maximum = 120, .step = 12, .red_start = 110, .warning_start = 103};
constexpr GaugeSetting kBatteryDesign{.minimum = 8,
                                      .maximum = 18,
                                      .step = 2,
                                      .red_start = 16,
                                      .warning_start = 15};

// Up or Down without Shift takes the focus to the other box.
ArrowKeys DashboardArrows() {
  return {.up = ArrowMove{.delta = -1,
                          .edge_family = kInjectorBoxes,
                          .edge_index = kFuelOffsetBox},
          .down = ArrowMove{.delta = 1,
                            .edge_family = kInjectorBoxes,
                            .edge_index = kFuelScalerBox}};
}

}  // namespace

TachometerScale TachometerScaleFor(double full_scale_rpm) {
  struct Row {
    double up_to;
    TachometerScale scale;
  };
  static constexpr Row kRows[] = {
      {4000, {4, 0.5}}, {6000, {6, 1}},   {8000, {8, 1}},   {10000, {10, 1}},
      {16000, {16, 2}}, {24000, {24, 3}}, {40000, {40, 5}},
  };
  for (const Row& row : kRows) {
    if (full_scale_rpm <= row.up_to) return row.scale;
  }
  return {50, 4};
}

std::optional<GaugeSetting> ManifoldScaleFor(double map_span) {
  if (map_span == 115) {
    return GaugeSetting{
        .maximum = 120, .step = 12, .red_start = 110, .warning_start = 103};
  }
  if (map_span == 255) {
    return GaugeSetting{
        .maximum = 250, .step = 25, .red_start = 200, .warning_start = 103};
  }
  if (map_span == 551) {
    return GaugeSetting{
        .maximum = 350, .step = 35, .red_start = 300, .warning_start = 103};
  }
  return std::nullopt;
}

int MixtureLampFor(double gamma) {
  const double x = std::clamp(gamma - 0.625, 0.0, 0.975);
  return static_cast<int>(std::min<int64_t>(RoundHalfEven(x / 0.375 * 7), 14));
}

std::array<std::string, 3> MixtureMarks(const MixtureUnits& units) {
  if (!units.afr) return {"1.4", "= 1", "0.6"};
  return {FormatNumber(units.FromLambda(1.4), "#0.0"),
          "= " + FormatNumber(units.stoichiometric, "#0.0##"),
          FormatNumber(units.FromLambda(0.6), "#0.0")};
}

Rgb MixtureLampColour(int lamp) {
  static constexpr Rgb kColours[] = {
      {255, 0, 0}, {255, 128, 0}, {255, 255, 0}, {0, 255, 0}, {0, 0, 255}};
  return kColours[std::clamp(lamp, 0, kMixtureLamps - 1) / 3];
}

DashboardModel::DashboardModel(EcuContext& ctx)
    : ctx_(ctx),
      injectors_(ctx.editors(), kDashboardWindow),
      activation_(ctx.link, ctx.pump),
      tachometer_(kTachometerDesign),
      water_temp_(kWaterDesign),
      air_temp_(kAirDesign),
      manifold_pressure_(kManifoldDesign),
      bat_volts_(kBatteryDesign) {
  injectors_.AddFamily(InjectorAdjustmentFamily(DashboardArrows()));
  injectors_.set_update_order(InjectorUpdateOrder());
}

void DashboardModel::Shown() {
  // Every showing re-reads the blocks.
  activation_.Shown(
      [this] { activation_.FillWhenIdle([this] { Activate(); }); });
}

void DashboardModel::Activate() {
  EcuLink& link = ctx_.link;
  ctx_.pump.ProcessPending();
  link.Pause(0.2);
  std::ignore = ReadConfigurationBlock(link);
  link.Pause(0.1);
  injectors_.Subscribe();
  injectors_.MarkUnread(kInjectorBoxes, false);
  ReadInjectorAdjustments(link);
  if (ctx_.link_state.demo_mode) {
    injectors_.ShowConfirmed({kInjectorBoxes, kFuelScalerBox}, kDemoFuelScaler);
    injectors_.ShowConfirmed({kInjectorBoxes, kFuelOffsetBox}, kDemoFuelOffset);
    ctx_.live.FullScaleRpm = 8000;
  }
  ScaleGauges();
  Changed();
}

void DashboardModel::ScaleGauges() {
  const double full_scale = ctx_.live.FullScaleRpm;
  const TachometerScale scale = TachometerScaleFor(full_scale);
  tachometer_.maximum = scale.maximum;
  tachometer_.step = scale.step;
  const double red_line = ctx_.image.scalar("KILL_RPM") / 1023.0 * full_scale;
  tachometer_.red_start = red_line / 1000;
  tachometer_.warning_start = 0.9 * red_line / 1000;

  if (const auto map = ManifoldScaleFor(ctx_.live.MapSpan)) {
    manifold_pressure_.maximum = map->maximum;
    manifold_pressure_.step = map->step;
    manifold_pressure_.red_start = map->red_start;
    manifold_pressure_.warning_start = map->warning_start;
  }
}

void DashboardModel::Hidden() {
  activation_.Hidden();
  injectors_.Unsubscribe();
}

void DashboardModel::Refresh() {
  const LiveData& live = ctx_.live;
  manifold_pressure_.value = live.MAP;
  ego_correction_ = FormatNumber(live.EgoCorrection, "0.000");
  lit_lamp_ = MixtureLampFor(live.Gamma);
  bat_volts_.value = live.BatteryVolts;
  tachometer_.value = live.RPM / 1000.0;
  water_temp_.value = live.CLT;
  air_temp_.value = live.MAT;
  Changed();
}

void DashboardModel::SwitchEgo(EgoSwitch choice) {
  ego_switch_ = choice;
  Changed();
  injectors_.WhenIdle(
      [this, choice] { SwitchEgoLoop(ctx_.link, static_cast<int>(choice)); });
}

void DashboardModel::ChooseTachFilter(int entry) {
  if (entry < 0 || entry >= static_cast<int>(kTachFilterFactors.size())) {
    return;
  }
  tach_filter_entry_ = entry;
  ctx_.live.TachFilterFactor = kTachFilterFactors[static_cast<size_t>(entry)];
  Changed();
}

}  // namespace ecu

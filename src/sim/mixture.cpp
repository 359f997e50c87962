#include "sim/mixture.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/calibration/catalogue.h"
#include "core/calibration/map_geometry.h"
#include "core/calibration/scaling.h"
#include "sim/live_scaling.h"
#include "sim/memory_cells.h"

namespace ecu::sim {
namespace {

// The injectors as the default calibration describes them: with these the
// true requirement is exactly the map that gives lambda 1.
constexpr double kTrueScalerMs = 10.2;
constexpr double kTrueOffsetMs = -0.525;
constexpr double kSensorLagS = 0.15;
constexpr double kSensorNoise = 0.01;
// What the wide-band controller can report.
constexpr double kLeanest = 2.0;
constexpr double kRichest = 0.5;

// A constant in engineering units, 0 while never set.
double Setting(const CalibrationMemory& memory, std::string_view key) {
  const ScalarItem& item = *FindScalar(key);
  return RawToValue(item.scaling, ScalarValue(memory, item), LiveData())
      .value_or(0.0);
}

MapAxes AxesOf(const CalibrationMemory& memory) {
  const LiveScaling scaling = ScalingOf(memory);
  return {scaling.full_scale_rpm, scaling.map_span, scaling.map_offset,
          (memory.ScalarOr("OPTIONS", 0) & 1) != 0};
}

double MapGainAt(const CalibrationMemory& memory, MapPoint point) {
  const TableItem& map = *FindTable("MAPM");
  double gain = 0;
  for (const CellWeight& w : FuelMapWeights(point)) {
    gain += w.weight * CellValue(memory, map, w.index) / 128.0;
  }
  return gain;
}

std::optional<double> SetPointAt(const CalibrationMemory& memory,
                                 MapPoint point) {
  const TableItem& grid = *FindTable("EGOM");
  std::array<std::optional<double>, kEgoSetPointCount> set_points;
  for (int i = 0; i < kEgoSetPointCount; ++i) {
    set_points[static_cast<size_t>(i)] =
        RawToValue(grid.scaling, CellValue(memory, grid, i), LiveData());
  }
  return EgoSetPointAt(set_points, point);
}

// The ECU trims only when its switch is on, EGO_SECS have passed since
// power-up (0 never), and the engine is above MNRPMEGO with the throttle
// below TPS_EGOD.
bool ClosedLoop(const MixtureInputs& in) {
  const double seconds = Setting(in.memory, "EGO_SECS");
  return in.closed_loop_switch && seconds > 0 &&
         in.since_restart_s >= seconds &&
         in.drive.rpm >= Setting(in.memory, "MNRPMEGO") &&
         in.drive.tps_percent <= Setting(in.memory, "TPS_EGOD");
}

}  // namespace

void Mixture::Restart() {
  ego_correction_ = 1.0;
  since_ego_step_s_ = 0;
}

void Mixture::Step(double dt_s, const MixtureInputs& in) {
  const DriveState& d = in.drive;
  const MapAxes axes = AxesOf(in.memory);
  MapAxes by_pressure = axes;
  by_pressure.tps_mapped = false;
  const MapPoint ecu_point = PointOnAxes(d.rpm, d.map_kpa, d.tps_percent, axes);
  const MapPoint engine_point =
      PointOnAxes(d.rpm, d.map_kpa, d.tps_percent, by_pressure);

  const double load = d.map_kpa / 100.0;
  clt_enrichment_ = 1.0 + std::max(0.0, 70.0 - d.clt_c) / 100.0;
  // A cold engine wants a little more than the ECU's enrichment gives.
  const double cold_need = 1.0 + std::max(0.0, 80.0 - d.clt_c) * 0.012;
  const double scaler = Setting(in.memory, "FUEL_MX");
  const double offset = Setting(in.memory, "FUEL_B");
  const double mapped = scaler * MapGainAt(in.memory, ecu_point) * load *
                        clt_enrichment_ * ego_correction_;
  pulse_width_ms_ = std::max(0.0, mapped + offset + d.accel_enrichment_ms);
  const double fuel =
      std::max(0.0, mapped + (offset - kTrueOffsetMs) + d.accel_enrichment_ms);
  const double needed =
      kTrueScalerMs * FuelMapValueAt(in.truth, engine_point) * load * cold_need;
  const double lambda =
      fuel > 0 ? std::clamp(needed / fuel, kRichest, kLeanest) : kLeanest;

  if (!started_) {
    started_ = true;
    exhaust_lambda_ = lambda;
  }
  exhaust_lambda_ += (lambda - exhaust_lambda_) *
                     (1.0 - std::exp(-std::max(dt_s, 0.0) / kSensorLagS));
  sensor_lambda_ =
      std::clamp(exhaust_lambda_ * (1.0 + kSensorNoise * in.sensor_noise),
                 kRichest, kLeanest);

  if (!ClosedLoop(in)) {
    Restart();
    return;
  }
  // One trim every 1 / EGO_RATE seconds, by EGO_GAIN of the error.
  const double period = 1.0 / std::max(1.0, Setting(in.memory, "EGO_RATE"));
  since_ego_step_s_ += dt_s;
  const std::optional<double> target = SetPointAt(in.memory, engine_point);
  while (since_ego_step_s_ >= period) {
    since_ego_step_s_ -= period;
    if (!target) continue;
    ego_correction_ *=
        1.0 + Setting(in.memory, "EGO_GAIN") * (sensor_lambda_ / *target - 1);
    // Not std::clamp: a random calibration may set the limits crosswise.
    ego_correction_ =
        std::min(std::max(ego_correction_, Setting(in.memory, "EGO_A_LO")),
                 Setting(in.memory, "EGO_A_HI"));
  }
}

}  // namespace ecu::sim

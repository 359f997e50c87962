#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "core/calibration/map_geometry.h"
#include "sim/drive_cycle.h"
#include "sim/virtual_ecu.h"

namespace ecu::sim {
namespace {

constexpr int kMapBase = 0x100;
constexpr int kEgoBase = 0xD4;

double Lambda(const EngineModel& engine) { return 1.0 / engine.state().gamma; }

// A virtual ECU on the sweep, its map `error_percent` off the engine.
struct SweepRig {
  explicit SweepRig(double error_percent, double time_scale = 1.0)
      : ecu([&] {
          SimOptions o;
          o.drive = DriveCycle::kSweep;
          o.true_map_error_percent = error_percent;
          o.time_scale = time_scale;
          return o;
        }()) {
    ecu.engine().set_ego_closed_loop(false);
    ecu.engine().AdvanceTo(0);  // the start of engine time
  }

  double MapGain(int cell) {
    return ecu.memory().TableByte(kMapBase + cell) / 128.0;
  }
  double Truth(int cell) {
    return ecu.engine().true_fuel_map()[static_cast<size_t>(cell)];
  }
  // Lambda at the end of the hold on `cell` in round `round`.
  double LambdaHeldAt(int cell, int round = 0) {
    ecu.engine().AdvanceTo(round * SweepRoundSeconds() + SweepHoldEnd(cell));
    return Lambda(ecu.engine());
  }

  VirtualEcu ecu;
};

TEST(EngineMixtureTest, LambdaFollowsTheMapTheEcuHolds) {
  SweepRig rig(20);
  double largest_error = 0;
  for (int cell = 0; cell < kMapCellCount; ++cell) {
    const double off = rig.MapGain(cell) / rig.Truth(cell) - 1;
    largest_error = std::max(largest_error, std::abs(off));
    ASSERT_LE(std::abs(off), 0.2 + 0.5 / 128) << cell;
  }
  EXPECT_GT(largest_error, 0.15);

  // The map as the console would write it: the engine's own (as the
  // default map is), except one cell 10 % rich.
  constexpr int kRich = 16 * 8 + 9;  // the sweep goes up this column
  EXPECT_NEAR(SweepRig(0).LambdaHeldAt(kRich), 1.0, 0.025);
  for (int cell = 0; cell < kMapCellCount; ++cell) {
    const double gain = rig.Truth(cell) * (cell == kRich ? 1.1 : 1.0);
    rig.ecu.memory().SetTableByte(
        kMapBase + cell, static_cast<uint8_t>(std::lround(gain * 128)));
  }
  EXPECT_NEAR(rig.LambdaHeldAt(kRich - 1, 1), 1.0, 0.025);
  EXPECT_NEAR(rig.LambdaHeldAt(kRich, 1), 1 / 1.1, 0.025);
  EXPECT_NEAR(rig.LambdaHeldAt(kRich + 1, 1), 1.0, 0.025);
}

TEST(EngineMixtureTest, ClosedLoopPullsToTheSetPointAndShowsTheMapError) {
  SimOptions options;
  options.true_map_error_percent = 20;
  VirtualEcu ecu(options);
  EngineModel& engine = ecu.engine();
  engine.AdvanceTo(0);
  ecu.memory().SetScalar("EGO_SECS", 1);
  for (int i = 0; i < kEgoSetPointCount; ++i) {
    ecu.memory().SetTableByte(kEgoBase + i, 106);  // lambda 0.953
  }
  const double target = 101.0 / 106;
  // Cruise on the present cycle, open loop.
  engine.set_ego_closed_loop(false);
  engine.AdvanceTo(20);
  const double open = Lambda(engine);
  EXPECT_EQ(engine.state().ego_correction, 1.0);
  // Closed: the trim settles on the set point, and the correction says how
  // far the map is off.
  engine.set_ego_closed_loop(true);
  engine.AdvanceTo(24);
  EXPECT_NEAR(Lambda(engine), target, 0.02);
  EXPECT_NEAR(engine.state().ego_correction, open / target, 0.03);
  // "D" opens the loop at once, a reset closes it and homes the stepper.
  engine.set_ego_closed_loop(false);
  EXPECT_EQ(engine.state().ego_correction, 1.0);
  engine.Restart();
  EXPECT_TRUE(engine.ego_closed_loop());
  EXPECT_EQ(engine.state().iac_state, kIacHome);
  // Within EGO_SECS of power-up the loop stays open.
  engine.AdvanceTo(24.5);
  EXPECT_EQ(engine.state().ego_correction, 1.0);
}

TEST(EngineMixtureTest, SweepCoversTheMapOnTheTimeScale) {
  SweepRig slow(0);
  SweepRig fast(0, 4.0);
  std::set<int> visited;
  for (double t = 0; t < SweepRoundSeconds(); t += 0.1) {
    slow.ecu.engine().AdvanceTo(t);
    // Four times as fast: the same engine at a quarter of the clock.
    fast.ecu.engine().AdvanceTo(t / 4);
    ASSERT_EQ(fast.ecu.engine().state().rpm, slow.ecu.engine().state().rpm);
    const EngineState& s = slow.ecu.engine().state();
    const MapPoint p = PointOnAxes(s.rpm, s.map_kpa, s.tps_percent, {});
    visited.insert(kMapRows * static_cast<int>(p.speed * kMapColumns) +
                   static_cast<int>(p.load * kMapRows));
  }
  EXPECT_EQ(visited.size(), static_cast<size_t>(kMapCellCount));
}

}  // namespace
}  // namespace ecu::sim

#include <gtest/gtest.h>

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

// Each cell's fuel shows at its own operating point only (the map off the
// engine as a whole is the advisor's end-to-end test).
TEST(EngineMixtureTest, LambdaFollowsTheMapCellTheEcuHolds) {
  SweepRig rig(0);  // the map is the engine's own, as the default map is
  constexpr int kRich = 16 * 8 + 9;  // the sweep goes up this column
  EXPECT_NEAR(rig.LambdaHeldAt(kRich), 1.0, 0.025);
  rig.ecu.memory().SetTableByte(
      kMapBase + kRich,
      static_cast<uint8_t>(std::lround(rig.Truth(kRich) * 1.1 * 128)));
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

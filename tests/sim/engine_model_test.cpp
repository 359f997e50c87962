#include "sim/engine_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "core/calibration/map_geometry.h"
#include "core/link/frame.h"
#include "sim/calibration_memory.h"
#include "sim/drive_cycle.h"
#include "sim/live_frames.h"
#include "sim/virtual_ecu.h"
#include "support/wire_bytes.h"

namespace ecu::sim {
namespace {

using testing::Bytes;

EngineState KnownState() {
  EngineState s;
  s.map_kpa = 125.0;  // top of the type 0 sensor
  s.tps_percent = 0.0;
  s.rpm = 2500.0;
  s.gamma = 1.0;
  s.pw_ms = 1.6;
  s.clt_c = -10.0;
  s.mat_c = 25.0;
  s.battery_v = 12.0;
  s.ego_correction = 1.0;
  s.map_enrichment = 1.0;
  s.accel_enrichment_ms = 104.856;  // full count
  s.clt_enrichment = 1.25;
  s.baro_kpa = 100.0;
  s.aux_volts = 2.5;
  s.iac_state = kIacOpening;
  s.iac_error = 0;
  s.iac_position = 300;
  s.iac_rpm_setpoint = 900;
  s.map_number = 1;
  return s;
}

TEST(LiveFramesTest, MainFrameLayout) {
  EXPECT_EQ(MainFrameData(KnownState(), LiveScaling{}),
            Bytes({0xFF, 0x03,     // MAP 1023
                   0x00, 0x00,     // TPS
                   0x00, 0x01,     // RPM 255.75 -> 256
                   0x65, 0x00,     // gamma 101
                   0xE8, 0x03,     // PW 1000 ticks
                   0xF6,           // CLT -10
                   0x19,           // MAT 25
                   0x99,           // battery 153
                   0x40, 0x80,     // EGO correction, MAP enrichment
                   0xFF, 0xFF,     // acceleration enrichment
                   0x50,           // coolant enrichment 80
                   0x21, 0x03}));  // baro 801
}

TEST(LiveFramesTest, ValuesOutsideTheirBytesAreClamped) {
  EngineState s = KnownState();
  s.clt_c = -300.0;
  s.mat_c = 300.0;
  s.battery_v = 40.0;
  s.map_kpa = 0.0;  // below the sensor's offset
  const std::string data = MainFrameData(s, LiveScaling{});
  EXPECT_EQ(data.substr(0, 2), Bytes({0x00, 0x00}));
  EXPECT_EQ(data.substr(10, 3), Bytes({0x80, 0x7F, 0xFF}));
}

TEST(LiveFramesTest, ScalingFollowsTheCalibration) {
  CalibrationMemory memory;
  EXPECT_EQ(ScalingOf(memory).full_scale_rpm, kDefaultFullScaleRpm);
  memory.SetScalar("FS_RPM", 6000);
  memory.SetScalar("MAP_TYPE", 6);  // only the low two bits: type 2
  const LiveScaling scaling = ScalingOf(memory);
  EngineState s = KnownState();
  s.rpm = 1500.0;
  s.map_kpa = 630.0;
  const std::string data = MainFrameData(s, scaling);
  // Baro (801) stays on its own scale whatever the MAP sensor.
  EXPECT_EQ((std::vector{U16At(data, 0), U16At(data, 4), U16At(data, 18)}),
            (std::vector{1023, 256, 801}));
  // A full scale of 0 must not break the frame.
  memory.SetScalar("FS_RPM", 0);
  EXPECT_EQ(U16At(MainFrameData(KnownState(), ScalingOf(memory)), 4), 1023);
}

TEST(LiveFramesTest, SmallFramesLayout) {
  const EngineState s = KnownState();
  EXPECT_EQ(AuxFrameData(s), Bytes({0, 0, 0x00, 0x02}));
  EXPECT_EQ(IdleAirFrameData(s), Bytes({4, 0, 0x2C, 0x01, 0x84, 0x03}));
  EXPECT_EQ(ActiveMapFrameData(s), Bytes({1, 0, 0, 0, 0, 0, 0}));
}

TEST(EngineModelTest, SameSeedSameEngineOtherSeedOtherNoise) {
  EngineModel a(7), b(7), c(8);
  bool differs = false;
  for (double t = 0; t < 5; t += 0.1) {
    a.AdvanceTo(t);
    b.AdvanceTo(t);
    c.AdvanceTo(t);
    EXPECT_EQ(MainFrameData(a.state(), {}), MainFrameData(b.state(), {}));
    differs |= a.state().rpm != c.state().rpm;
  }
  EXPECT_TRUE(differs);
}

constexpr int kMapBase = 0x100;
constexpr int kEgoBase = 0xD4;

double Lambda(const EngineModel& engine) { return 1.0 / engine.state().gamma; }

// A virtual ECU on the sweep, its map `error_percent` off the engine.
struct SweepRig {
  explicit SweepRig(double error_percent, double time_scale = 1.0)
      : ecu({.drive = DriveCycle::kSweep,
             .time_scale = time_scale,
             .true_map_error_percent = error_percent}) {
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
  VirtualEcu ecu({.true_map_error_percent = 20});
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

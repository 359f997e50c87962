#include "sim/live_frames.h"

#include <gtest/gtest.h>

#include <string>

#include "core/link/frame.h"
#include "sim/calibration_memory.h"
#include "sim/engine_model.h"
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
  EXPECT_EQ(U16At(data, 0), 0);
  EXPECT_EQ(ByteAt(data, 10), 0x80);
  EXPECT_EQ(ByteAt(data, 11), 0x7F);
  EXPECT_EQ(ByteAt(data, 12), 0xFF);
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
  EXPECT_EQ(U16At(data, 0), 1023);
  EXPECT_EQ(U16At(data, 4), 256);
  // Baro stays on its own scale whatever the MAP sensor.
  EXPECT_EQ(U16At(data, 18), 801);
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

}  // namespace
}  // namespace ecu::sim

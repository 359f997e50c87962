#include "core/link/live_decoding.h"

#include <gtest/gtest.h>

#include "core/link/frame.h"
#include "core/readouts/monitor_text.h"

namespace ecu {
namespace {

// An "A" frame with chosen words and bytes (data offsets as in the frame).
class LiveFrame {
 public:
  LiveFrame() : data_(20, '\0') {}
  LiveFrame& Word(int frame_offset, int value) {
    data_[static_cast<size_t>(frame_offset - 3)] =
        static_cast<char>(value & 0xFF);
    data_[static_cast<size_t>(frame_offset - 2)] =
        static_cast<char>(value >> 8);
    return *this;
  }
  LiveFrame& Byte(int frame_offset, int value) {
    data_[static_cast<size_t>(frame_offset - 3)] = static_cast<char>(value);
    return *this;
  }
  std::string frame() const { return BuildReply('A', data_); }

 private:
  std::string data_;
};

TEST(LiveDecodingTest, TachFilterApproachesTheNewSpeed) {
  LiveData live;
  const std::string frame = LiveFrame().Word(7, 1023).frame();
  DecodeLiveFrame(frame, live);
  EXPECT_FLOAT_EQ(live.RPM, 8000);
  DecodeLiveFrame(frame, live);
  EXPECT_FLOAT_EQ(live.RPM, 9600);
  DecodeLiveFrame(frame, live);
  EXPECT_FLOAT_EQ(live.RPM, 9920);
  EXPECT_FLOAT_EQ(live.PreviousRpm, 9920);

  LiveData unfiltered;
  unfiltered.TachFilterFactor = 1.0f;
  DecodeLiveFrame(frame, unfiltered);
  EXPECT_FLOAT_EQ(unfiltered.RPM, 10000);
}

TEST(LiveDecodingTest, FieldsAndTheirScaling) {
  LiveData live;
  live.MapSpan = 551;
  live.MapOffset = 79;
  DecodeLiveFrame(LiveFrame()
                      .Word(3, 1023)
                      .Word(5, 1023)
                      .Word(9, 0)
                      .Word(11, 5000)
                      .Byte(13, 0xF6)
                      .Byte(14, 30)
                      .Byte(15, 255)
                      .Byte(16, 64)
                      .Byte(17, 128)
                      .Word(18, 65535)
                      .Byte(20, 80)
                      .Word(21, 1023)
                      .frame(),
                  live);
  EXPECT_FLOAT_EQ(live.MAP, 630);  // MAP sensor type 2
  EXPECT_FLOAT_EQ(live.TPS, 100);
  EXPECT_FLOAT_EQ(live.Gamma, 0.3f);
  EXPECT_NEAR(live.Lambda, 3.333, 0.001);
  EXPECT_FLOAT_EQ(live.PW, 0.008f);
  EXPECT_FLOAT_EQ(live.CLT, -10);
  EXPECT_FLOAT_EQ(live.MAT, 30);
  EXPECT_FLOAT_EQ(live.BatteryVolts, 20);
  EXPECT_FLOAT_EQ(live.EgoCorrection, 1);
  EXPECT_FLOAT_EQ(live.MapEnrichment, 1);
  EXPECT_NEAR(live.AccelEnrichment, 104.856, 1e-3);
  EXPECT_FLOAT_EQ(live.CltEnrichment, 1.25);
  EXPECT_FLOAT_EQ(live.Baro, 125);
}

TEST(LiveDecodingTest, AuxIdleAirAndMapFrames) {
  LiveData live;
  DecodeAuxFrame(BuildReply('F', std::string("\x00\x00\x00\x02", 4)), live);
  EXPECT_FLOAT_EQ(live.AuxVolts, 2.5);
  EXPECT_FLOAT_EQ(live.AuxValue, 200);
  DecodeIdleAirFrame(
      BuildReply(152, std::string("\x07\x03\x2C\x01\x20\x03", 6)), live);
  EXPECT_EQ(live.IacState, 7);
  EXPECT_EQ(live.IacError, 3);
  EXPECT_EQ(live.IacPosition, 300);
  EXPECT_EQ(live.IacRpmSetpoint, 800);
  EXPECT_EQ(IacStateName(7), "????");
  EXPECT_EQ(IacStateName(0), "????");
  EXPECT_EQ(IacStateName(4), "OPENING");

  ReplyTable replies;
  std::string shown;
  AddLiveReplies(replies, live, [&](const std::string& t) { shown = t; });
  replies.Find(178)->decode(
      BuildReply(178, std::string("\x02\0\0\0\0\0\0", 7)));
  EXPECT_EQ(live.MapNumber, 2);
  EXPECT_EQ(shown, "2");
}

TEST(MonitorTextTest, FormatsAndClamps) {
  LiveData live;
  live.RPM = 45000;
  live.TPS = 130;
  live.CLT = 140;
  live.Gamma = 3;
  live.Lambda = 0.2f;
  live.MAP = 32.25f;
  live.PW = 0.0081f;
  live.EgoCorrection = 1.0236f;
  live.BatteryVolts = 14.25f;
  live.Baro = 101.2f;
  live.IacState = 6;
  live.IacError = 12;
  live.IacPosition = 45;
  live.IacRpmSetpoint = 850;
  std::vector<std::pair<int, std::string>> writes;
  MonitorText monitor;
  const Subscription writer = monitor.labels().Subscribe(
      [&](int i, const std::string& t) { writes.emplace_back(i, t); });
  monitor.Refresh(live);
  // The clamps change the stored values.
  EXPECT_FLOAT_EQ(live.RPM, 40000);
  EXPECT_FLOAT_EQ(live.TPS, 100);
  EXPECT_FLOAT_EQ(live.CLT, 125);
  EXPECT_FLOAT_EQ(live.Gamma, 2);
  EXPECT_FLOAT_EQ(live.Lambda, 0.5);
  const MonitorLines& t = monitor.shown();
  EXPECT_EQ(t[0], "40000");
  EXPECT_EQ(t[1], ".500");
  EXPECT_EQ(t[2], "125");
  EXPECT_EQ(t[3], "100");
  EXPECT_EQ(t[4], "32.3");
  EXPECT_EQ(t[5], "8.100");
  EXPECT_EQ(t[6], "1.024");
  EXPECT_EQ(t[10], "14.25");
  EXPECT_EQ(t[13], "");
  EXPECT_EQ(t[14], "101.2");
  EXPECT_EQ(t[15], "CLOSED");
  EXPECT_EQ(t[16], "ERR 12");
  EXPECT_EQ(t[17], "45");
  EXPECT_EQ(t[18], "850");
  live.IacError = -2;
  EXPECT_EQ(ComputeMonitorText(live)[16], "ERR-2");
  live.IacError = 0;
  EXPECT_EQ(ComputeMonitorText(live)[16], "OK");
}

TEST(MonitorTextTest, WritesOnlyChangedLabelsUntilInvalidated) {
  LiveData live;
  std::vector<int> written;
  MonitorText monitor;
  const Subscription writer = monitor.labels().Subscribe(
      [&](int i, const std::string&) { written.push_back(i); });
  monitor.Refresh(live);
  // At the start every label but 13 differs from the empty text.
  EXPECT_EQ(written.size(), 18u);
  written.clear();
  monitor.Refresh(live);
  EXPECT_TRUE(written.empty());
  live.RPM = 1234;
  monitor.Refresh(live);
  EXPECT_EQ(written, std::vector<int>{0});
  written.clear();
  monitor.Invalidate();
  monitor.Refresh(live);
  // 0..13 are rewritten (13 with its empty text), 14..18 are not.
  EXPECT_EQ(written.size(), 14u);
  EXPECT_EQ(written.front(), 0);
  EXPECT_EQ(written.back(), 13);
}

}  // namespace
}  // namespace ecu

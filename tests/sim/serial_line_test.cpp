#include "sim/serial_line.h"

#include <gtest/gtest.h>

#include <string>

namespace ecu::sim {
namespace {

constexpr double kByte = kSecondsPerByte;

// The request's 8 bytes all read at t = 0, as a pty hands them over.
double RequestDone(SerialLine& line) {
  double done = 0;
  for (int i = 0; i < 8; ++i) done = line.Arrive(0.0);
  return done;
}

TEST(SerialLineTest, RoundTripOfRequestAndMainFrameTakesItsLineTime) {
  SerialLine line(kByte);
  const double done = RequestDone(line);
  EXPECT_DOUBLE_EQ(done, 8 * kByte);
  line.Send({{std::string(25, 'x'), 0.0}}, done);
  // Each byte falls due when its last bit is across: 33 byte times in all,
  // 17.19 ms at 19200 baud.
  EXPECT_DOUBLE_EQ(*line.NextDue(), 9 * kByte);
  EXPECT_EQ(line.TakeDue(33 * kByte - 1e-9).size(), 24u);
  EXPECT_EQ(line.TakeDue(33 * kByte).size(), 1u);
  EXPECT_FALSE(line.NextDue().has_value());
  EXPECT_NEAR(33 * kByte, 0.0172, 0.0001);
}

TEST(SerialLineTest, IncomingBytesQueueBehindEachOther) {
  SerialLine line(kByte);
  EXPECT_DOUBLE_EQ(line.Arrive(1.0), 1.0 + kByte);
  EXPECT_DOUBLE_EQ(line.Arrive(1.0), 1.0 + 2 * kByte);
  // After a quiet spell the line starts afresh.
  EXPECT_DOUBLE_EQ(line.Arrive(5.0), 5.0 + kByte);
}

TEST(SerialLineTest, ReplyWaitsForTheOneStillGoingOut) {
  SerialLine line(kByte);
  line.Send({{"abcd", 0.0}}, 0.0);
  line.Send({{"ef", 0.0}}, kByte);  // second request done while "abcd" goes
  EXPECT_EQ(line.TakeDue(4 * kByte), "abcd");
  EXPECT_EQ(line.TakeDue(5 * kByte), "e");
  EXPECT_EQ(line.TakeDue(6 * kByte), "f");
}

TEST(SerialLineTest, ChunkDelaysCountFromTheEndOfThePreviousChunk) {
  SerialLine line(kByte);
  line.Send({{"ab", 0.1}, {"cd", 0.2}}, 1.0);
  EXPECT_DOUBLE_EQ(*line.NextDue(), 1.1 + kByte);
  EXPECT_EQ(line.TakeDue(1.1 + 2 * kByte), "ab");
  EXPECT_DOUBLE_EQ(*line.NextDue(), 1.3 + 3 * kByte);
}

TEST(SerialLineTest, WithoutPacingOnlyTheDelaysCount) {
  SerialLine line(0.0);
  EXPECT_EQ(line.Arrive(2.0), 2.0);
  line.Send({{"ab", 0.0}, {"cd", 0.5}}, 2.0);
  EXPECT_EQ(line.TakeDue(2.0), "ab");
  EXPECT_EQ(line.TakeDue(2.49), "");
  EXPECT_EQ(line.TakeDue(2.5), "cd");
}

}  // namespace
}  // namespace ecu::sim

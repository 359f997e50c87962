#include "sim/pty_server.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "core/link/frame.h"
#include "sim/serial_line.h"
#include "support/temp_folder.h"

namespace ecu::sim {
namespace {

namespace fs = std::filesystem;

// Reads until `count` bytes are in or the time-out passes.
std::string ReadBytes(int fd, size_t count, int timeout_ms) {
  std::string got;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (got.size() < count) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd pfd = {fd, POLLIN, 0};
    if (poll(&pfd, 1, static_cast<int>(left.count())) <= 0) continue;
    char buffer[64];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) got.append(buffer, static_cast<size_t>(n));
  }
  return got;
}

TEST(PtyServerTest, AnswersARequestOnTheSlaveDevice) {
  VirtualEcu ecu(SimOptions{});
  PtyServer server;
  std::string error;
  ASSERT_TRUE(server.Open(&error)) << error;
  std::thread loop([&] { server.Run(ecu, kSecondsPerByte); });

  for (int attempt = 0; attempt < 2; ++attempt) {
    // The console may close the port and open it again.
    const int fd = open(server.device_path().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    const std::string request = BuildRequest("A");
    ASSERT_EQ(write(fd, request.data(), request.size()), 8);
    const std::string reply = ReadBytes(fd, 25, 2000);
    EXPECT_EQ(reply.size(), 25u);
    EXPECT_TRUE(IsValidReplyFrame(reply));
    close(fd);
  }
  server.Stop();
  loop.join();
}

TEST(PtyServerTest, LinkReplacesAnOldLinkButNeverAFile) {
  testing::TempFolder folder;
  const fs::path link = folder.Path("ecu");
  const fs::path file = folder.Write("precious", "keep");
  fs::create_symlink("/dev/null", link);
  {
    PtyServer server;
    std::string error;
    ASSERT_TRUE(server.Open(&error)) << error;
    ASSERT_TRUE(server.Link(link.string(), &error)) << error;
    EXPECT_EQ(fs::read_symlink(link).string(), server.device_path());
    EXPECT_FALSE(server.Link(file.string(), &error));
    EXPECT_TRUE(fs::is_regular_file(file));
  }
  // Gone with the server; the file is untouched.
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
  EXPECT_TRUE(fs::is_regular_file(file));
}

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

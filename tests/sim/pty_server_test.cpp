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

}  // namespace
}  // namespace ecu::sim

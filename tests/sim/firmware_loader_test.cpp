#include "sim/firmware_loader.h"

#include <gtest/gtest.h>

#include "core/firmware_rig.h"
#include "core/link/frame.h"
#include "sim/virtual_ecu.h"

namespace ecu::sim {
namespace {

using testing::FirmwareLines;
using testing::RunTogether;
using testing::S1Record;

std::string Feed(FirmwareLoader& loader, std::string_view bytes) {
  std::string reply;
  EXPECT_EQ(loader.Receive(bytes, &reply), bytes.size());
  return reply;
}

bool HasSignalBefore(const std::string& text, size_t end) {
  return text.substr(0, end).find_first_of("BE") != std::string::npos;
}

TEST(FirmwareLoaderTest, AnswersQWithABannerEndingInB) {
  FirmwareLoader loader;
  const std::string banner = Feed(loader, "q");
  ASSERT_FALSE(banner.empty());
  EXPECT_EQ(banner.back(), 'B');
  // No other capital B or E, which the console would take for a signal.
  EXPECT_FALSE(HasSignalBefore(banner, banner.size() - 1));
}

TEST(FirmwareLoaderTest, TakesRecordsRunTogetherOrOneALine) {
  const std::vector<std::string> lines = FirmwareLines(8);
  std::string one_a_line;
  for (const std::string& line : lines) one_a_line += line + "\r\n";
  for (const std::string& stream : {RunTogether(lines), one_a_line}) {
    FirmwareLoader loader;
    std::string said;
    // Byte by byte, as a paced line hands them over.
    for (char c : stream) said += Feed(loader, std::string_view(&c, 1));
    EXPECT_EQ(loader.good_records(), 10);
    EXPECT_EQ(loader.bad_records(), 0);
    EXPECT_TRUE(loader.completed());
    EXPECT_EQ(said, "\r\n10 records, flash complete\r\n");
    EXPECT_EQ(loader.received(), stream);
  }
}

TEST(FirmwareLoaderTest, EachBadRecordGetsEAndTheLoaderWaitsForQ) {
  const std::string good = S1Record(0x100, "abcd");
  std::string spoilt_sum = good;
  spoilt_sum.back() = spoilt_sum.back() == '0' ? '1' : '0';
  const std::vector<std::pair<std::string, std::string>> cases = {
      {spoilt_sum, "bad checksum"},
      // Its byte count promises more than the line holds.
      {good.substr(0, good.size() - 2) + "\r\n", "shorter than its"},
      // ... or too little: the rest is a stray.
      {good + "7F", "unexpected character"},
      {"S1020000FD", "byte count too small"},
      {"S4030000FC", "unknown record type"},
      {"S1130G00", "bad character"},
      {"hello", "unexpected character"},
  };
  for (const auto& [bad, why] : cases) {
    FirmwareLoader loader;
    const std::string said = Feed(loader, "S00600004844521B" + bad + good);
    ASSERT_FALSE(said.empty()) << bad;
    EXPECT_EQ(said.back(), 'E') << bad;
    EXPECT_NE(said.find(why), std::string::npos) << said;
    EXPECT_FALSE(HasSignalBefore(said, said.size() - 1)) << said;
    EXPECT_EQ(loader.bad_records(), 1) << bad;
    // Everything after the error is ignored, until "q" starts again.
    const int good_before = loader.good_records();
    EXPECT_EQ(Feed(loader, "S9030000FC"), "");
    EXPECT_EQ(loader.good_records(), good_before) << bad;
    EXPECT_EQ(Feed(loader, "q").back(), 'B');
    Feed(loader, good);
    EXPECT_EQ(loader.good_records(), good_before + 1) << bad;
  }
}

TEST(FirmwareLoaderTest, CompletedLoaderHandsBackTheLine) {
  FirmwareLoader loader;
  Feed(loader, RunTogether(FirmwareLines(1)) + "\r\n");
  std::string reply;
  EXPECT_EQ(loader.Receive("\x02\x08R", &reply), 0u);
  EXPECT_EQ(reply, "");
}

// A whole request frame, as the console sends it.
std::string Frame(const std::string& command) { return BuildRequest(command); }

TEST(VirtualEcuLoaderTest, ReflashCommandStartsTheLoaderAndAFlashEndsIt) {
  VirtualEcu ecu(SimOptions{});
  EXPECT_FALSE(ecu.Receive("q", 0).size());
  ASSERT_EQ(ecu.Receive(Frame(Command(174, 90, 0, 0)), 0.1).size(), 1u);
  EXPECT_TRUE(ecu.controller().awaiting_firmware);
  // Request frames are not read while the loader has the line.
  const auto answer = ecu.Receive("q", 0.2);
  ASSERT_EQ(answer.size(), 1u);
  EXPECT_EQ(answer[0].bytes.back(), 'B');
  ecu.Receive(RunTogether(FirmwareLines(2)), 0.3);
  EXPECT_TRUE(ecu.loader().completed());
  // The next request reaches the restarted controller.
  const auto revision = ecu.Receive(Frame("R"), 0.4);
  ASSERT_EQ(revision.size(), 1u);
  EXPECT_EQ(revision[0].bytes, BuildReply('R', "\x77\x27"));
  EXPECT_FALSE(ecu.controller().awaiting_firmware);
  EXPECT_EQ(ecu.loader().received(), "q" + RunTogether(FirmwareLines(2)));
}

}  // namespace
}  // namespace ecu::sim

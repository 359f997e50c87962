#include "sim/firmware_loader.h"

#include <gtest/gtest.h>

#include "core/firmware_rig.h"
#include "core/link/frame.h"
#include "sim/virtual_ecu.h"

namespace ecu::sim {
namespace {

using testing::FirmwareLines;
using testing::RunTogether;

std::string Feed(FirmwareLoader& loader, std::string_view bytes) {
  std::string reply;
  EXPECT_EQ(loader.Receive(bytes, &reply), bytes.size());
  return reply;
}

// The console reacts to a capital B or E wherever it appears.
void ExpectSignalOnlyAtTheEnd(const std::string& said, char signal) {
  ASSERT_FALSE(said.empty());
  EXPECT_EQ(said.back(), signal) << said;
  EXPECT_EQ(said.find_first_of("BE"), said.size() - 1) << said;
}

TEST(FirmwareLoaderTest, TakesRecordsRunTogetherOrOneALine) {
  const std::vector<std::string> lines = FirmwareLines(8);
  std::string one_a_line;
  for (const std::string& line : lines) one_a_line += line + "\r\n";
  for (const std::string& stream : {RunTogether(lines), one_a_line}) {
    FirmwareLoader loader;
    ExpectSignalOnlyAtTheEnd(Feed(loader, "q"), 'B');
    std::string said;
    for (char c : stream) said += Feed(loader, std::string_view(&c, 1));
    EXPECT_EQ(said, "\r\n10 records, flash complete\r\n");
    EXPECT_EQ(loader.received(), "q" + stream);
  }
}

TEST(FirmwareLoaderTest, EachKindOfBadRecordGetsEAndTheLoaderWaitsForQ) {
  const std::string good = testing::S1Record(0x100, "abcd");
  std::string spoilt_sum = good;
  spoilt_sum.back() = spoilt_sum.back() == '0' ? '1' : '0';
  const std::vector<std::pair<std::string, std::string>> cases = {
      {spoilt_sum, "bad checksum"},
      {good.substr(0, good.size() - 2) + "\r\n", "shorter than its"},
      {good + "7F", "unexpected character"},  // longer than its count
      {"S1020000FD", "byte count too small"},
      {"S4030000FC", "unknown record type"},
      {"S1130G00", "bad character"},
  };
  for (const auto& [bad, why] : cases) {
    FirmwareLoader loader;
    const std::string said = Feed(loader, "S00600004844521B" + bad + good);
    ExpectSignalOnlyAtTheEnd(said, 'E');
    EXPECT_NE(said.find(why), std::string::npos) << said;
    // Nothing more counts until "q" starts again.
    const int good_before = loader.good_records();
    EXPECT_EQ(Feed(loader, good + "S9030000FC"), "");
    EXPECT_EQ(Feed(loader, "q").back(), 'B');
    Feed(loader, good);
    EXPECT_EQ(loader.good_records(), good_before + 1) << bad;
  }
}

TEST(VirtualEcuLoaderTest, ReflashCommandStartsTheLoaderAndAFlashEndsIt) {
  VirtualEcu ecu(SimOptions{});
  ASSERT_EQ(ecu.Receive(BuildRequest(Command(174, 90, 0, 0)), 0.1).size(), 1u);
  // No request frames are read while the loader has the line.
  ASSERT_EQ(ecu.Receive("q", 0.2).size(), 1u);
  ecu.Receive(RunTogether(FirmwareLines(2)) + "\r\n", 0.3);
  EXPECT_TRUE(ecu.controller().awaiting_firmware);
  // The next request reaches the restarted controller.
  const auto revision = ecu.Receive(BuildRequest("R"), 0.4);
  ASSERT_EQ(revision.size(), 1u);
  EXPECT_EQ(revision[0].bytes, BuildReply('R', "\x77\x27"));
  EXPECT_EQ(ecu.loader().received(),
            "q" + RunTogether(FirmwareLines(2)) + "\r\n");
}

}  // namespace
}  // namespace ecu::sim

#include "sim/request_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/link/frame.h"

namespace ecu::sim {
namespace {

using Frames = std::vector<std::string>;

const std::string kMainRequest = BuildRequest("A");  // 02 08 41 30 30 30 DB 00
const std::string kResetRequest = BuildRequest(Command(174, 165, 0, 0));

TEST(RequestReaderTest, RequestSplitAnywhereIsReassembled) {
  for (size_t cut = 1; cut < kMainRequest.size(); ++cut) {
    RequestReader reader;
    EXPECT_EQ(reader.Add(kMainRequest.substr(0, cut)), Frames{}) << cut;
    EXPECT_EQ(reader.Add(kMainRequest.substr(cut)), Frames{kMainRequest})
        << cut;
    EXPECT_EQ(reader.pending(), 0u);
  }
}

TEST(RequestReaderTest, NoiseAndBrokenRequestsAreSkippedAndCounted) {
  std::string bad_sum = kMainRequest;
  bad_sum[7] = 0x01;
  struct Case {
    std::string bytes;
    Frames frames;
    int skipped;
  };
  const std::vector<Case> cases = {
      {kMainRequest + kResetRequest + kMainRequest,
       {kMainRequest, kResetRequest, kMainRequest},
       0},
      {"\xFF\x08\x02\x41" + kMainRequest, {kMainRequest}, 4},
      // A bad checksum: back in step at the next start byte.
      {bad_sum + kResetRequest, {kResetRequest}, 8},
      // A first try that lost its tail, the retry at once behind it: the 8
      // bytes from its 0x02 0x08 are not a frame.
      {kMainRequest.substr(0, 4) + kMainRequest, {kMainRequest}, 4},
  };
  for (const Case& c : cases) {
    RequestReader reader;
    int skipped = -1;
    EXPECT_EQ(reader.Add(c.bytes, &skipped), c.frames);
    EXPECT_EQ(skipped, c.skipped);
    EXPECT_EQ(reader.pending(), 0u);
  }
}

TEST(RequestReaderTest, StartByteAtTheEndIsKeptForTheNextRead) {
  RequestReader reader;
  EXPECT_EQ(reader.Add("\x55\x02"), Frames{});
  EXPECT_EQ(reader.pending(), 1u);
  EXPECT_EQ(reader.Add(kMainRequest.substr(1)), Frames{kMainRequest});
}

}  // namespace
}  // namespace ecu::sim

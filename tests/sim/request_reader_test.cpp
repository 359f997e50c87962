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

TEST(RequestReaderTest, SeveralRequestsInOneReadComeOutInOrder) {
  RequestReader reader;
  EXPECT_EQ(reader.Add(kMainRequest + kResetRequest + kMainRequest),
            (Frames{kMainRequest, kResetRequest, kMainRequest}));
}

TEST(RequestReaderTest, NoiseBeforeARequestIsSkippedAndCounted) {
  RequestReader reader;
  int skipped = -1;
  EXPECT_EQ(reader.Add("\xFF\x08\x02\x41" + kMainRequest, &skipped),
            Frames{kMainRequest});
  EXPECT_EQ(skipped, 4);
}

TEST(RequestReaderTest, BadChecksumResynchronisesOnTheNextStart) {
  std::string broken = kMainRequest;
  broken[7] = 0x01;
  RequestReader reader;
  int skipped = 0;
  EXPECT_EQ(reader.Add(broken + kResetRequest, &skipped),
            Frames{kResetRequest});
  EXPECT_EQ(skipped, 8);
}

TEST(RequestReaderTest, RequestHiddenInsideACutShortOneIsFound) {
  // The console's first try lost its tail; the retry follows at once, so
  // the 8 bytes from the first 0x02 0x08 are not a frame.
  RequestReader reader;
  const std::string cut_short = kMainRequest.substr(0, 4);
  EXPECT_EQ(reader.Add(cut_short + kMainRequest), Frames{kMainRequest});
  EXPECT_EQ(reader.pending(), 0u);
}

TEST(RequestReaderTest, StartByteAtTheEndIsKeptForTheNextRead) {
  RequestReader reader;
  EXPECT_EQ(reader.Add("\x55\x02"), Frames{});
  EXPECT_EQ(reader.pending(), 1u);
  EXPECT_EQ(reader.Add(kMainRequest.substr(1)), Frames{kMainRequest});
}

}  // namespace
}  // namespace ecu::sim

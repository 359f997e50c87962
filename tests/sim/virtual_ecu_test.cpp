#include "sim/virtual_ecu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/link/frame.h"
#include "support/wire_bytes.h"

namespace ecu::sim {
namespace {

using testing::Ask;
using testing::Bytes;

TEST(VirtualEcuTest, MainFrameFollowsTheEngineAndTheFullScale) {
  VirtualEcu ecu(SimOptions{});
  Ask(ecu, "A", 10.0);
  const double rpm = ecu.engine().state().rpm;
  std::string reply = Ask(ecu, "A", 10.0);
  EXPECT_NEAR(U16At(reply, 7) / 1023.0 * 10000, rpm, 10);
  ecu.memory().SetScalar("FS_RPM", 5000);
  reply = Ask(ecu, "A", 10.0);
  EXPECT_NEAR(U16At(reply, 7) / 1023.0 * 5000, rpm, 5);
}

TEST(VirtualEcuTest, ControllerRepliesOnTheWire) {
  VirtualEcu ecu(SimOptions{});
  EXPECT_EQ(Ask(ecu, Command(174, 165, 0, 0)),
            Bytes({0x02, 0x06, 0xAE, 0xA5, 0x5B, 0x01}));
  EXPECT_EQ(ecu.controller().resets, 1);
  EXPECT_FALSE(ecu.controller().awaiting_firmware);
  // Revision 10103 and serial number 123456, low byte first.
  EXPECT_EQ(Ask(ecu, "R"), Bytes({0x02, 0x07, 0x52, 0x77, 0x27, 0xF9, 0x00}));
  EXPECT_EQ(Ask(ecu, "-"),
            Bytes({0x02, 0x08, 0x2D, 0x40, 0xE2, 0x01, 0x5A, 0x01}));
  EXPECT_EQ(Ask(ecu, Command(174, 90, 0, 0)),
            Bytes({0x02, 0x06, 0xAE, 0x5A, 0x10, 0x01}));
  EXPECT_TRUE(ecu.controller().awaiting_firmware);
}

TEST(VirtualEcuTest, EgoSwitchRepliesWithoutDataAndIsRemembered) {
  VirtualEcu ecu(SimOptions{});
  EXPECT_EQ(Ask(ecu, "D"), Bytes({0x02, 0x05, 0x44, 0x4B, 0x00}));
  EXPECT_FALSE(ecu.engine().ego_closed_loop());
  EXPECT_EQ(Ask(ecu, "d"), Bytes({0x02, 0x05, 0x64, 0x6B, 0x00}));
  EXPECT_TRUE(ecu.engine().ego_closed_loop());
}

TEST(VirtualEcuTest, ThrottleCaptureEchoesAndStoresTheReading) {
  VirtualEcu ecu(SimOptions{});
  Ask(ecu, "A", 3.0);
  const int reading = ecu.engine().state().throttle_adc;
  std::string reply = Ask(ecu, Command(215, 0, 0, 0), 3.0);
  ASSERT_EQ(reply.size(), 6u);
  EXPECT_EQ(ByteAt(reply, 3), reading);
  EXPECT_EQ(ecu.memory().Scalar("TPS_BASE"), reading);
  reply = Ask(ecu, Command(216, 0, 0, 0), 3.0);
  EXPECT_EQ(ByteAt(reply, 2), 216);
  EXPECT_EQ(ecu.memory().Scalar("TPS_FS_V"), reading);
}

TEST(VirtualEcuTest, UnknownCommandsGetNoReply) {
  VirtualEcu ecu(SimOptions{});
  EXPECT_EQ(Ask(ecu, "\xC8"), "");
  EXPECT_EQ(Ask(ecu, Command(174, 1, 0, 0)), "");
  EXPECT_EQ(ecu.replies(), 0);
  // A handler plugged in later answers with the same framing.
  ecu.commands().Add(0xC8, [](const Request& r) {
    return std::optional(std::string(1, static_cast<char>(r.args[0])));
  });
  EXPECT_EQ(Ask(ecu, Command(0xC8, 9, 0, 0)),
            BuildReply(0xC8, std::string(1, 9)));
}

// What six requests for `command` bring with one fault set: per reply its
// chunks' sizes, "*" after a frame that does not check, "-" for none.
std::string Shapes(void (*set)(SimOptions&), const char* command = "R") {
  SimOptions options;
  set(options);
  VirtualEcu ecu(options);
  std::string shapes;
  for (int i = 0; i < 6; ++i) {
    std::string whole;
    std::string shape;
    for (const Transmission& t : ecu.Receive(BuildRequest(command), 0)) {
      shape += (shape.empty() ? "" : "+") + std::to_string(t.bytes.size());
      whole += t.bytes;
    }
    if (shape.empty()) shape = "-";
    if (!whole.empty() && !IsValidReplyFrame(whole)) shape += "*";
    shapes += (shapes.empty() ? "" : " ") + shape;
  }
  return shapes;
}

TEST(VirtualEcuTest, FaultsHitEveryKthReplyAndADroppedOneGetsNoOther) {
  EXPECT_EQ(Shapes([](SimOptions& o) { o.drop_every = 3; }), "7 7 - 7 7 -");
  EXPECT_EQ(Shapes([](SimOptions& o) { o.extra_byte_every = 2; }),
            "7 8* 7 8* 7 8*");
  EXPECT_EQ(Shapes([](SimOptions& o) { o.corrupt_every = 2; }),
            "7 7* 7 7* 7 7*");
  // A well-formed frame of the wrong size; one without data cannot lose a
  // byte, so it gains one.
  EXPECT_EQ(Shapes([](SimOptions& o) { o.wrong_length_every = 3; }, "A"),
            "25 25 24 25 25 24");
  EXPECT_EQ(Shapes([](SimOptions& o) { o.wrong_length_every = 1; }, "d"),
            "6 6 6 6 6 6");
  EXPECT_EQ(Shapes([](SimOptions& o) { o.split_every = 2; }),
            "7 3+4 7 3+4 7 3+4");
  EXPECT_EQ(Shapes([](SimOptions& o) {
              o.drop_every = 2;
              o.corrupt_every = 2;
              o.split_every = 1;
            }),
            "3+4 - 3+4 - 3+4 -");
}

TEST(VirtualEcuTest, SplitGapAndDelayTimeTheChunks) {
  SimOptions options;
  options.split_every = 1;
  options.split_gap_s = 0.3;
  options.delay_s = 0.05;
  VirtualEcu ecu(options);
  const std::vector<Transmission> out = ecu.Receive(BuildRequest("A"), 0);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].delay_s, 0.05);
  EXPECT_EQ(out[1].delay_s, 0.3);
}

TEST(VirtualEcuTest, FaultCycleTurnsEachFaultOnInTurn) {
  SimOptions options;
  options.fault_cycle_s = 10;
  VirtualEcu ecu(options);
  // Four replies of each phase, by the time they are asked: clean, silent,
  // dropped every 4th, then a bad checksum on every 4th.
  std::vector<std::string> seen;
  for (double t : {5.0, 15.0, 25.0, 35.0}) {
    std::string phase;
    for (int i = 0; i < 4; ++i) {
      const std::string reply = Ask(ecu, "R", t);
      phase += reply.empty() ? '-' : IsValidReplyFrame(reply) ? 'R' : 'x';
    }
    seen.push_back(phase);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"RRRR", "----", "RRR-", "RRRx"}));
  // The last phase (late replies) gives way to a clean one.
  EXPECT_EQ(ecu.Receive(BuildRequest("R"), 75)[0].delay_s, 0.1);
  EXPECT_EQ(ecu.Receive(BuildRequest("R"), 85)[0].delay_s, 0.0);
}

TEST(VirtualEcuTest, LogShowsRequestsRepliesAndNoise) {
  SimOptions options;
  options.corrupt_every = 1;
  VirtualEcu ecu(options);
  std::vector<std::string> lines;
  ecu.set_log([&lines](const std::string& line) { lines.push_back(line); });
  ecu.Receive("\x55" + BuildRequest("A"), 1.5);
  ecu.Receive(BuildRequest("\xC8"), 2.0);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_NE(lines[0].find("skipped 1 byte"), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find("1.500000 rx 'A' 02 08 41 30 30 30 DB 00"),
            std::string::npos)
      << lines[1];
  EXPECT_NE(lines[2].find("tx 'A' 02 19 41 "), std::string::npos) << lines[2];
  EXPECT_NE(lines[2].find("[bad checksum]"), std::string::npos) << lines[2];
  EXPECT_NE(lines[3].find("rx #200 02 08 C8"), std::string::npos) << lines[3];
  EXPECT_NE(lines[3].find("[no reply]"), std::string::npos) << lines[3];
}

}  // namespace
}  // namespace ecu::sim

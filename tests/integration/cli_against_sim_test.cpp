#include <gtest/gtest.h>

#include <string>

#include "support/processes.h"

namespace ecu {
namespace {

using testing::BuiltProgram;
using testing::Contains;
using testing::RunProgram;
using testing::SimProcess;

TEST(CliAgainstSimTest, InfoPrintsRevisionAndSerial) {
  SimProcess sim({"--revision", "10207", "--serial", "654321"});
  ASSERT_TRUE(sim.running());
  const auto r =
      RunProgram({BuiltProgram("ecu-cli"), "--port", sim.device(), "info"});
  EXPECT_EQ(r.exit_status, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "V1.02.07")) << r.out;
  EXPECT_TRUE(Contains(r.out, "654321")) << r.out;
  EXPECT_EQ(r.err, "");
}

TEST(CliAgainstSimTest, ResetTellsTheResetMessage) {
  SimProcess sim;
  const auto r =
      RunProgram({BuiltProgram("ecu-cli"), "--port", sim.device(), "reset"});
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(r.err, "The controller has been succesfully reset.\n");
}

TEST(CliAgainstSimTest, SilentEcuExitsOneAfterTenAttempts) {
  SimProcess sim({"--silent"});
  const auto r =
      RunProgram({BuiltProgram("ecu-cli"), "--port", sim.device(), "info"});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_TRUE(Contains(r.err,
                       "Warning, comm non-response.  Maximum retries "
                       "exceeded.   Expected 7 bytes, got 0"))
      << r.err;
}

TEST(CliAgainstSimTest, FaultsAreRetriedAway) {
  // Damaged replies are dropped and the request sent again. A split reply's
  // late half spoils the next attempt too, so splits come every third reply.
  const std::vector<std::vector<std::string>> faults = {
      {"--drop-every", "2"},         {"--corrupt-every", "2"},
      {"--split-every", "3"},        {"--extra-byte-every", "2"},
      {"--wrong-length-every", "2"}, {"--delay", "0.05"}};
  for (const auto& fault : faults) {
    SimProcess sim(fault);
    const auto r =
        RunProgram({BuiltProgram("ecu-cli"), "--port", sim.device(), "info"});
    EXPECT_EQ(r.exit_status, 0) << fault[0] << ": " << r.err;
    EXPECT_TRUE(Contains(r.out, "V1.01.03")) << fault[0];
  }
}

TEST(CliAgainstSimTest, MissingPort) {
  const auto r = RunProgram(
      {BuiltProgram("ecu-cli"), "--port", "/tmp/no-such-ecu-port", "info"});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_TRUE(Contains(r.err, "Comm Port was not found")) << r.err;
}

}  // namespace
}  // namespace ecu

#include <gtest/gtest.h>

#include <string>

#include "support/processes.h"

namespace ecu::testing {
namespace {

TEST(CliAgainstSimTest, InfoResetAndWhatGoesWrong) {
  struct Case {
    std::vector<std::string> sim;  // ecu-sim options
    const char* command;
    int status;
    std::vector<std::string> out;  // parts of it
    std::string err;               // all of it, or the part that says why
  };
  const std::vector<Case> cases = {
      {{"--revision", "10207", "--serial", "654321"},
       "info",
       0,
       {"V1.02.07", "654321"},
       ""},
      {{}, "reset", 0, {}, "The controller has been succesfully reset.\n"},
      {{"--silent"},
       "info",
       1,
       {},
       "Warning, comm non-response.  Maximum retries exceeded.   Expected 7 "
       "bytes, got 0"},
  };
  for (const Case& c : cases) {
    SimProcess sim(c.sim);
    const auto r = RunCli({"--port", sim.device(), c.command});
    EXPECT_EQ(r.exit_status, c.status) << c.command << r.err;
    for (const std::string& part : c.out) {
      EXPECT_TRUE(Contains(r.out, part)) << r.out;
    }
    EXPECT_TRUE(Contains(r.err, c.err) && (c.status != 0 || r.err == c.err))
        << r.err;
  }
  const auto r = RunCli({"--port", "/tmp/no-such-ecu-port", "info"});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_TRUE(Contains(r.err, "Comm Port was not found")) << r.err;
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
    const auto r = RunCli({"--port", sim.device(), "info"});
    EXPECT_EQ(r.exit_status, 0) << fault[0] << ": " << r.err;
    EXPECT_TRUE(Contains(r.out, "V1.01.03")) << fault[0];
  }
}

}  // namespace
}  // namespace ecu::testing

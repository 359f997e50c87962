#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "support/processes.h"
#include "support/temp_folder.h"

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

// The described interval, and the line's rate: a line for every answer and
// nothing asked that does not become a line ("0" means the same). The time
// keeps its described form unless milliseconds are asked for.
TEST(CliLogTest, WritesTheHeaderAndALinePerIntervalOrPerAnswer) {
  struct Run {
    std::vector<std::string> options;
    size_t samples;
    std::string time;
    long least_asked, most_asked;
  };
  const std::vector<Run> runs = {
      // "A" on every 100 ms tick, three per sample; a busy machine merges
      // ticks.
      {{"--interval", "300", "--count", "4"}, 4, R"(\d\d:\d\d:\d\d)", 8, 12},
      {{"--interval", "fastest", "--count", "40", "--time", "ms"},
       40,
       R"(\d\d:\d\d:\d\d\.\d{3})",
       40,
       40},
      {{"--interval", "0", "--count", "40"}, 40, R"(\d\d:\d\d:\d\d)", 40, 40},
  };
  for (const Run& run : runs) {
    TempFolder folder;
    const std::string sim_log = folder.Path("sim.log");
    const std::string log = folder.Path("RUN.CSV");
    SimProcess sim({"--log", sim_log});
    std::vector<std::string> args = {"--port", sim.device(), "log", log};
    args.insert(args.end(), run.options.begin(), run.options.end());
    const auto r = RunCli(args);
    EXPECT_EQ(r.exit_status, 0) << r.err;
    EXPECT_EQ(r.out, std::to_string(run.samples) + " samples written to " +
                         log + "\n");
    sim.Stop();

    const std::vector<std::string> lines = CrLfLines(ReadText(log));
    ASSERT_EQ(lines.size(), 3u + run.samples);
    EXPECT_EQ(lines[0], "Time,RPM,A/F,CLT,TPS,MAP,MAT,PW,CORR");
    EXPECT_TRUE(std::regex_match(
        lines[1], std::regex(R"(Log Begins on \d\d-\d\d-\d{4})")))
        << lines[1];
    EXPECT_EQ(lines[2], "");
    const std::regex data(
        run.time +
        R"(,\d+,\d\.\d\d,-?\d+,\d+\.\d,\d+\.\d,-?\d+,\d+\.\d{3},\d\.\d{3})");
    for (size_t i = 3; i < lines.size(); ++i) {
      EXPECT_TRUE(std::regex_match(lines[i], data)) << lines[i];
    }
    // The configuration once, then "A" only.
    const std::vector<std::string> codes = SimLogRequests(sim_log);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.front(), "'C'");
    const long asked = std::count(codes.begin(), codes.end(), "'A'");
    EXPECT_GE(asked, run.least_asked);
    EXPECT_LE(asked, run.most_asked);
    EXPECT_EQ(asked + 1, static_cast<long>(codes.size()));
  }

  SimProcess sim;
  const auto bad = RunCli({"--port", sim.device(), "log",
                           "/nonexistent-folder/RUN.CSV", "--count", "1"});
  EXPECT_EQ(bad.exit_status, 1);
  EXPECT_TRUE(Contains(bad.err, "could not be created")) << bad.err;
}

// Commands stopped by a port that goes away part-way: the live ones and
// a plain run of requests (there the hang-up shows as a read error).
TEST(CliLiveCommandsTest, EndWithExitOneOnceThePortIsLost) {
  TempFolder folder;
  const std::vector<std::vector<std::string>> commands = {
      {"monitor", "--csv"},
      {"log", folder.Path("RUN.CSV"), "--interval", "100"},
      {"ping", "--count", "1000000"}};
  for (const std::vector<std::string>& command : commands) {
    SimProcess sim;
    std::vector<std::string> argv = {"--port", sim.device()};
    argv.insert(argv.end(), command.begin(), command.end());
    std::thread pull([&sim] {
      std::this_thread::sleep_for(std::chrono::milliseconds(1500));
      sim.Stop();
    });
    // Until Ctrl-C otherwise: the time-out would end it with another status.
    const auto r = RunCli(argv, 20);
    pull.join();
    EXPECT_EQ(r.exit_status, 1) << command[0] << r.err;
    EXPECT_TRUE(Contains(r.err, "was lost")) << r.err;
    // The loss is said once, last. (A loaded machine may delay replies
    // beyond their attempts before the pull; those warnings are due.)
    const std::vector<std::string> said = Lines(r.err);
    ASSERT_FALSE(said.empty());
    EXPECT_TRUE(Contains(said.back(), "was lost")) << r.err;
    EXPECT_EQ(std::count_if(said.begin(), said.end(),
                            [](const std::string& line) {
                              return Contains(line, "was lost");
                            }),
              1)
        << r.err;
    // Rows only while the ECU answered: about ten a second.
    EXPECT_LT(Lines(r.out).size(), 25u) << command[0];
  }
  EXPECT_LT(Lines(ReadText(folder.Path("RUN.CSV"))).size(), 3u + 25u);
}

TEST(CliLiveCommandsTest, WaitForThePortAndReadTheConfigurationAgain) {
  // One device name for two sims in turn, as an adapter plugged in again.
  TempFolder folder;
  const std::string link = folder.Path("ecu");
  const std::string second_log = folder.Path("second.log");
  SimProcess first;
  std::filesystem::create_symlink(first.device(), link);
  std::unique_ptr<SimProcess> second;
  std::thread replug([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    first.Stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    second = std::make_unique<SimProcess>(
        std::vector<std::string>{"--log", second_log});
    std::filesystem::remove(link);
    std::filesystem::create_symlink(second->device(), link);
  });
  const auto r = RunCli(
      {"--port", link, "monitor", "--csv", "--wait", "--count", "30"}, 30);
  replug.join();
  // The request cut by the pull still counts as unanswered.
  EXPECT_EQ(r.exit_status, 1) << r.err;
  EXPECT_TRUE(Contains(r.err, "is back")) << r.err;
  const std::vector<std::string> lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 1u + 30u);
  EXPECT_EQ(lines[0].rfind("Time,Engine Speed,A/F Ratio,", 0), 0u);
  for (const std::string& line : lines) {
    EXPECT_EQ(std::count(line.begin(), line.end(), ','), 18) << line;
  }
  second->Stop();
  const std::vector<std::string> codes = SimLogRequests(second_log);
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(codes.front(), "'C'");
}

}  // namespace
}  // namespace ecu::testing

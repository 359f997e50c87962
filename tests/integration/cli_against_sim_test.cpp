#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <random>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "sim/calibration_memory.h"
#include "sim/memory_dump.h"
#include "sim/memory_seed.h"
#include "support/processes.h"
#include "support/temp_folder.h"

namespace ecu::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::Each;
using ::testing::Gt;
using ::testing::Not;
using ::testing::SizeIs;

// A port that does not exist: a usage error must be found before it is
// tried, or the run would exit 1 instead.
const char kNoPort[] = "/tmp/no-such-ecu-port";

// A text the regular expression matches whole.
MATCHER_P(FullMatch, pattern, "") {
  return std::regex_match(arg, std::regex(pattern));
}

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
    for (const std::string& part : c.out) EXPECT_THAT(r.out, HasSubstr(part));
    EXPECT_TRUE(Contains(r.err, c.err) && (c.status != 0 || r.err == c.err))
        << r.err;
  }
  const auto r = RunCli({"--port", kNoPort, "info"});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_THAT(r.err, HasSubstr("Comm Port was not found"));
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
    EXPECT_THAT(r.out, HasSubstr("V1.01.03")) << fault[0];
  }
}

// The standard interval, and the line's rate: a line for every answer and
// nothing asked that does not become a line ("0" means the same). The time
// keeps its usual form unless milliseconds are asked for.
TEST(CliLogTest, WritesTheHeaderAndALinePerIntervalOrPerAnswer) {
  struct Run {
    size_t samples;
    size_t least_asked, most_asked;
    std::vector<std::string> options;
  };
  const std::vector<Run> runs = {
      // "A" on every 100 ms tick, three per sample; a busy machine merges
      // ticks.
      {4, 8, 12, {"--interval", "300", "--count", "4"}},
      {40, 40, 40, {"--interval", "fastest", "--count", "40", "--time", "ms"}},
      {40, 40, 40, {"--interval", "0", "--count", "40"}},
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

    std::vector<std::string> lines = CrLfLines(ReadText(log));
    ASSERT_EQ(lines.size(), 3u + run.samples);
    EXPECT_EQ(lines[0], "Time,RPM,A/F,CLT,TPS,MAP,MAT,PW,CORR");
    EXPECT_THAT(lines[1], FullMatch(R"(Log Begins on \d\d-\d\d-\d{4})"));
    EXPECT_EQ(lines[2], "");
    lines.erase(lines.begin(), lines.begin() + 3);
    EXPECT_THAT(
        lines, Each(FullMatch(std::string(R"(\d\d:\d\d:\d\d)") +
                              (run.options.back() == "ms" ? R"(\.\d{3})" : "") +
                              R"(,\d+,\d\.\d\d,-?\d+,\d+\.\d,\d+\.\d,-?\d+,)"
                              R"(\d+\.\d{3},\d\.\d{3})")));
    // The configuration once, then "A" only.
    const std::vector<std::string> codes = SimLogRequests(sim_log);
    ASSERT_THAT(codes,
                SizeIs(AllOf(Gt(run.least_asked), Le(run.most_asked + 1))));
    EXPECT_EQ(codes.front(), "'C'");
    EXPECT_THAT(std::vector(codes.begin() + 1, codes.end()), Each("'A'"));
  }

  SimProcess sim;
  const auto bad = RunCli({"--port", sim.device(), "log",
                           "/nonexistent-folder/RUN.CSV", "--count", "1"});
  EXPECT_EQ(bad.exit_status, 1);
  EXPECT_THAT(bad.err, HasSubstr("could not be created"));
  // An ECU that never answers leaves an earlier log of that name alone.
  TempFolder folder;
  const std::string earlier = folder.Write("RUN.CSV", "an earlier drive\r\n");
  SimProcess silent({"--silent", "--no-pacing"});
  const auto none =
      RunCli({"--port", silent.device(), "log", earlier, "--count", "1"});
  EXPECT_EQ(none.exit_status, 1);
  EXPECT_EQ(ReadText(earlier), "an earlier drive\r\n");
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
    // The loss is said once, last. (A loaded machine may delay replies
    // beyond their attempts before the pull; those warnings are due.)
    const std::vector<std::string> said = Lines(r.err);
    ASSERT_FALSE(said.empty());
    EXPECT_THAT(said.back(), HasSubstr("was lost"));
    EXPECT_THAT(said, ::testing::Contains(HasSubstr("was lost")).Times(1));
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
  fs::create_symlink(first.device(), link);
  std::unique_ptr<SimProcess> second;
  std::thread replug([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    first.Stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    second = std::make_unique<SimProcess>(
        std::vector<std::string>{"--log", second_log});
    fs::remove(link);
    fs::create_symlink(second->device(), link);
  });
  const auto r = RunCli(
      {"--port", link, "monitor", "--csv", "--wait", "--count", "30"}, 30);
  replug.join();
  // The request cut by the pull still counts as unanswered.
  EXPECT_EQ(r.exit_status, 1) << r.err;
  EXPECT_THAT(r.err, HasSubstr("is back"));
  const std::vector<std::string> lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 1u + 30u);
  EXPECT_THAT(lines[0], StartsWith("Time,Engine Speed,A/F Ratio,"));
  EXPECT_THAT(lines, Each(FullMatch("([^,]*,){18}[^,]*")));  // 19 fields
  second->Stop();
  const std::vector<std::string> codes = SimLogRequests(second_log);
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(codes.front(), "'C'");
}

TEST(DiffCliTest, TheEcuAgainstItsOwnFileAndAgainstASeededDifference) {
  TempFolder folder;
  const std::string dump = folder.Path("ecu.SET");
  SimProcess sim({"--seed", "31", "--no-pacing", "--dump", dump});
  ASSERT_TRUE(sim.running());
  std::string text = sim.Dump(dump);
  ASSERT_FALSE(text.empty());

  const auto same = RunCli({"--port", sim.device(), "diff", "--ecu", dump});
  EXPECT_EQ(same.exit_status, 0) << same.err;
  EXPECT_EQ(same.out, "");

  // Two items of the file changed: a map cell and the signed threshold.
  text = std::regex_replace(text, std::regex("MAPM\\[017\\]=\\d+"),
                            "MAPM[017]=200");
  text =
      std::regex_replace(text, std::regex("TMP_THRS= \\d+"), "TMP_THRS= -13");
  const std::string tuned = folder.Write("tuned.SET", text);
  const auto differs = RunCli({"--port", sim.device(), "diff", "--ecu", tuned});
  EXPECT_EQ(differs.exit_status, 1) << differs.err;
  // The items' lines are the compare's own (its unit test).
  EXPECT_THAT(Lines(differs.out),
              ElementsAre("A: ECU", "B: " + tuned,
                          "Constants: calibration constants, 1 of 48 differ",
                          StartsWith("  TMP_THRS "),
                          "MAPM: fuel map gain, 1 of 256 differ",
                          StartsWith("  MAPM[017] ")));

  // Two files: identical, then different; nothing talks to the ECU.
  EXPECT_EQ(RunCli({"diff", dump, dump}).exit_status, 0);
  EXPECT_EQ(RunCli({"diff", dump, tuned}).exit_status, 1);
}

TEST(DiffCliTest, TroubleIsExitTwo) {
  TempFolder folder;
  const std::string file = folder.Write("a.SET", "EGO_RATE= 8\r\n");
  SimProcess silent({"--silent", "--no-pacing"});
  const auto no_answer =
      RunCli({"--port", silent.device(), "diff", "--ecu", file});
  EXPECT_EQ(no_answer.exit_status, 2);
  EXPECT_THAT(no_answer.err, HasSubstr("The ECU did not answer"));

  EXPECT_EQ(RunCli({"diff", file, folder.Path("none.SET")}).exit_status, 2);
  const std::string bad = folder.Write("bad.SET", "EGO_RATE= 8\r\nFOO = 1\r\n");
  const auto bad_line = RunCli({"diff", file, bad});
  EXPECT_EQ(bad_line.exit_status, 2);
  EXPECT_EQ(bad_line.err,
            "ecu-cli: " + bad + " line 2: unknown key: \"FOO = 1\"\n");
  EXPECT_EQ(RunCli({"diff", file}).exit_status, 2);
}

TEST(DetectCliTest, FindsTheSimAmongASilentAndAGarbledPty) {
  SimProcess silent({"--silent"});
  SimProcess garbled({"--corrupt-every", "1"});
  SimProcess ecu({"--revision", "10204", "--serial", "4242"});
  const auto found = RunCli(
      {"detect", silent.device(), garbled.device(), ecu.device(), "/dev/none"});
  EXPECT_EQ(found.exit_status, 0) << found.err;
  EXPECT_THAT(Lines(found.out),
              ElementsAre(silent.device() + ": no answer within 0.5 s",
                          StartsWith(garbled.device() +
                                     ": answered, but not as an ECU ("),
                          ecu.device() + ": ECU V1.02.04, serial 4242",
                          "/dev/none: no such port"));

  const auto none = RunCli({"detect", silent.device()});
  EXPECT_EQ(none.exit_status, 1);
}

// The mean of "Lambda off target by 9.6 % on average ..." in percent.
double MeanOffTarget(const std::string& out) {
  std::smatch match;
  if (!std::regex_search(
          out, match, std::regex(R"(off target by +([0-9.]+) % on average)"))) {
    return -1;
  }
  return std::stod(match[1]);
}

// The sim runs twenty times as fast as the clock, so one round of the sweep
// takes under 20 s and 195 samples at 10 a second cover it. The filters
// are opened up to match: at that pace a held cell lasts one sample, and a
// sample counts whatever its share of a cell.
const std::vector<std::string> kQuickFilters = {
    "--min-samples", "0.3", "--max-tps-rate", "10000", "--settle", "0"};

TEST(AdvisorCliTest, OnePassBringsTheMapCloserToItsTargets) {
  TempFolder folder;
  SimProcess sim({"--true-map-error", "20", "--drive", "sweep", "--time-scale",
                  "20", "--no-pacing"});
  ASSERT_TRUE(sim.running());
  const auto cli = [&](std::vector<std::string> words) {
    words.insert(words.begin(), {"--port", sim.device()});
    return RunCli(words, 120);
  };
  const auto log = [&](const std::string& file) {
    return cli(
        {"log", folder.Path(file), "--interval", "100", "--count", "195"});
  };
  const auto advise = [&](const std::string& file,
                          std::vector<std::string> extra) {
    std::vector<std::string> words = {"advise", folder.Path(file)};
    words.insert(words.end(), kQuickFilters.begin(), kQuickFilters.end());
    words.insert(words.end(), extra.begin(), extra.end());
    return cli(words);
  };

  ASSERT_EQ(log("P0.CSV").exit_status, 0);
  const auto first = advise("P0.CSV", {"--out", folder.Path("NEW.SET")});
  ASSERT_EQ(first.exit_status, 0) << first.err;
  EXPECT_THAT(first.out, HasSubstr("Cell      RPM    kPa  Samples  Lambda"));
  EXPECT_EQ(Lines(ReadText(folder.Path("NEW.SET"))).size(), 436u);
  const double before = MeanOffTarget(first.out);
  EXPECT_GT(before, 5) << first.out;

  ASSERT_EQ(cli({"load", folder.Path("NEW.SET")}).exit_status, 0);
  ASSERT_EQ(log("P1.CSV").exit_status, 0);
  // The map the ECU now holds is the one just written.
  const auto second = advise("P1.CSV", {"--setup", folder.Path("NEW.SET")});
  ASSERT_EQ(second.exit_status, 0) << second.err;
  const double after = MeanOffTarget(second.out);
  ASSERT_GE(after, 0) << second.out;
  EXPECT_LT(after, 0.8 * before) << first.out << second.out;
}

// A warm engine held at cell (4, 6) of the default axes (2812 rev/min,
// 57 kPa), 10 % lean.
std::string LeanLog() {
  std::string text =
      "Time,RPM,A/F,CLT,TPS,MAP,MAT,PW,CORR\r\nLog Begins on "
      "12-07-2026\r\n\r\n";
  for (int i = 0; i < 10; ++i) {
    text += "10:00:0" + std::to_string(i) +
            ",2812,1.10,85,20.0,57.1,25,4.000,1.000\r\n";
  }
  return text;
}

TEST(AdvisorCliTest, FromASetupFileEveryOtherLineStaysAsRead) {
  TempFolder folder;
  sim::CalibrationMemory memory;
  sim::FillDefaultCalibration(memory);
  // A hand-edited file: one line with LF only, one unknown key.
  std::string base = sim::SetupFileText(memory);
  base.replace(base.find("ACC_SEN = 50\r\n"), 14, "ACC_SEN = 50\n");
  base += "NO_SUCH = 1\r\n";
  folder.Write("BASE.SET", base);
  folder.Write("LEAN.CSV", LeanLog());
  const auto r =
      RunCli({"advise", folder.Path("LEAN.CSV"), "--setup",
              folder.Path("BASE.SET"), "--target", "1.0", "--min-samples", "1",
              "--out", folder.Path("NEW.SET")});
  ASSERT_EQ(r.exit_status, 0) << r.err;
  EXPECT_THAT(r.err, HasSubstr("line 437"));  // the unknown key
  // Near the cell's centre, not on it: most of each sample counts for it.
  EXPECT_THAT(r.out, AllOf(HasSubstr("c04r06    2813   56.7      9.5   1.100   "
                                     "1.000   1.000   1.102   +10.2%"),
                           HasSubstr("1 of 256 cells changed")));
  std::string expected = base;
  expected.replace(expected.find("MAPM[070]=128"), 13, "MAPM[070]=141");
  EXPECT_EQ(ReadText(folder.Path("NEW.SET")), expected);

  // The same advice told in air/fuel ratio for gasoline.
  const auto afr = RunCli({"advise", folder.Path("LEAN.CSV"), "--setup",
                           folder.Path("BASE.SET"), "--target", "1.0",
                           "--min-samples", "1", "--afr", "14.7"});
  ASSERT_EQ(afr.exit_status, 0) << afr.err;
  EXPECT_THAT(afr.out, AllOf(HasSubstr("Samples     AFR  Target"),
                             HasSubstr("9.5   16.17   14.70   1.000   1.102"),
                             HasSubstr("AFR off target by")));
}

TEST(AdvisorCliTest, WhatCannotBeUsedIsSaid) {
  TempFolder folder;
  const std::string lean = folder.Write("LEAN.CSV", LeanLog());
  const std::string not_log = folder.Write("NOT.CSV", "ACC_SEN = 50\r\n");
  sim::CalibrationMemory memory;
  sim::FillDefaultCalibration(memory);
  const std::string base = folder.Write("BASE.SET", sim::SetupFileText(memory));
  const std::string map_only = folder.Write("MAPONLY.SET", "MAPM[000]=128\r\n");
  const std::string none = folder.Path("NONE");
  const std::string nowhere = folder.Path("no/such/folder/NEW.SET");
  struct Case {
    int status;
    std::string said;
    std::vector<std::string> args;
  };
  const std::vector<Case> cases = {
      {2, "could not be read", {"advise", none, "--setup", base}},
      {2, "not a data log", {"advise", not_log, "--setup", base}},
      {2, "could not be read", {"advise", lean, "--setup", none}},
      {2, "gives no FS_RPM or MAP_TYPE", {"advise", lean, "--setup", map_only}},
      {2, "neither ego", {"advise", lean, "--target", "3"}},
      {1,
       "could not be written",
       {"advise", lean, "--setup", base, "--out", nowhere}},
      {1, "could not be opened", {"--port", kNoPort, "advise", lean}},
  };
  for (const Case& c : cases) {
    const auto r = RunCli(c.args);
    EXPECT_EQ(r.exit_status, c.status) << c.said;
    EXPECT_THAT(r.err, HasSubstr(c.said));
  }
}

class SetupFilesTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder_.Path(name); }

  TempFolder folder_;
};

TEST_F(SetupFilesTest, SaveMatchesTheSimDumpAndLoadCopiesTheCalibration) {
  SimProcess first({"--seed", "21", "--dump", Path("first.dump")});
  ASSERT_TRUE(first.running());
  const auto saved = RunCli({"--port", first.device(), "save", Path("s.SET")});
  EXPECT_EQ(saved.exit_status, 0) << saved.err;
  EXPECT_EQ(saved.out, "436 lines saved to " + Path("s.SET") + "\n");
  EXPECT_EQ(saved.err, "");  // no bar: stderr is not a terminal

  // The sim dumps on SIGUSR1 and goes on serving.
  const std::string dump = first.Dump(Path("first.dump"));
  ASSERT_EQ(CrLfLines(dump).size(), 436u);
  EXPECT_EQ(ReadText(Path("s.SET")), dump);
  EXPECT_EQ(RunCli({"--port", first.device(), "info"}).exit_status, 0);

  // Another calibration, overwritten by the file; its dump at exit shows
  // the same memory as the first sim's.
  SimProcess second({"--seed", "22", "--dump", Path("second.dump")});
  const auto loaded =
      RunCli({"--port", second.device(), "load", Path("s.SET")});
  EXPECT_EQ(loaded.exit_status, 0) << loaded.err;
  EXPECT_EQ(loaded.out, "436 lines of " + Path("s.SET") + " sent to the ECU\n");
  EXPECT_EQ(loaded.err, "");
  second.Stop();
  EXPECT_EQ(ReadText(Path("second.dump")), dump);
}

TEST_F(SetupFilesTest, RefusedLinesMissingFilesAndSilenceExitOne) {
  SimProcess sim({"--dump", Path("sim.dump")});
  folder_.WriteLines(
      "odd.SET", {"EGO_RATE= 7", "NO_SUCH = 1", "MAPM[256]=1", "MAPM[001]=99"});
  auto r = RunCli({"--port", sim.device(), "load", Path("odd.SET")});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_EQ(r.out, "2 lines of " + Path("odd.SET") + " sent to the ECU\n");
  // Which lines, and why, so that they can be found and mended.
  EXPECT_EQ(r.err,
            "Unknown variable in data file\n"
            "Unknown variable in data file\n"
            "ecu-cli: " +
                Path("odd.SET") +
                " line 2: unknown key\n"
                "ecu-cli: " +
                Path("odd.SET") +
                " line 3: index outside the table\n"
                "ecu-cli: 2 lines of the setup file refused\n");
  sim.Stop();
  EXPECT_THAT(ReadText(Path("sim.dump")), AllOf(HasSubstr("EGO_RATE= 7\r\n"),
                                                HasSubstr("MAPM[001]=99\r\n")));

  sim.Start();
  r = RunCli({"--port", sim.device(), "load", Path("none.SET")});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_THAT(r.err, HasSubstr("could not be read"));
  r = RunCli({"--port", sim.device(), "save", Path("no-folder/x.SET")});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_THAT(r.err, HasSubstr("x.SET could not be created (No such file or "
                               "directory)"));
  EXPECT_FALSE(fs::exists(Path("no-folder")));

  SimProcess silent({"--silent"});
  r = RunCli({"--port", silent.device(), "load",
              folder_.WriteLines("one.SET", {"EGO_RATE= 7"})});
  EXPECT_EQ(r.exit_status, 1);
  // The configuration read and the one write.
  EXPECT_THAT(r.err, HasSubstr("ecu-cli: 2 transactions went unanswered"));
}

// A save that cannot be whole, or that is stopped, leaves the old file as it
// was and no temporary file beside it.
TEST_F(SetupFilesTest, SaveThatStopsLeavesTheOldFileAlone) {
  folder_.WriteLines("keep.SET", {"EGO_RATE= 7"});
  SimProcess silent({"--silent"});
  auto r = RunCli({"--port", silent.device(), "save", Path("keep.SET")});
  EXPECT_EQ(r.exit_status, 1);
  // The save gave up after the first read's ten attempts.
  EXPECT_THAT(r.err,
              AllOf(HasSubstr("The setup file was not saved: the ECU "
                              "stopped answering at item EGO_SECS. The "
                              "previous file is unchanged."),
                    HasSubstr("ecu-cli: 1 transaction went unanswered")));

  SimProcess sim;
  for (int signal_number : {SIGINT, SIGTERM}) {
    r = RunCli({"--port", sim.device(), "save", Path("keep.SET")}, 60,
               {signal_number, 2.0});
    EXPECT_EQ(r.exit_status, 1) << r.err;
    EXPECT_THAT(r.err, HasSubstr("the save was interrupted"));
    EXPECT_EQ(ReadText(Path("keep.SET")), "EGO_RATE= 7\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_.path()), {}), 1);
  }
}

// A fresh folder holding FW.S: firmware as a tuner gets it, random bytes
// made into S-records by objcopy (CR LF lines).
class FirmwareFolder : public TempFolder {
 public:
  explicit FirmwareFolder(int bytes) {
    std::mt19937 random(static_cast<unsigned>(bytes));
    std::string data;
    for (int i = 0; i < bytes; ++i) data.push_back(static_cast<char>(random()));
    Write("fw.bin", data);
    RunProgram({"/usr/bin/objcopy", "-I", "binary", "-O", "srec",
                Path("fw.bin"), Path("FW.S")});
    lines_ = CrLfLines(Read("FW.S"));
  }

  // FW.S's lines without their CR LF.
  const std::vector<std::string>& lines() const { return lines_; }
  // What the loader must receive with the character delay: "q", the first
  // line as read, then each later line with CR LF.
  std::string LoaderStream() const {
    std::string stream = "q" + lines_.front();
    for (size_t i = 1; i < lines_.size(); ++i) stream += lines_[i] + "\r\n";
    return stream;
  }

 private:
  std::vector<std::string> lines_;
};

class FlashCliTest : public ::testing::Test {
 protected:
  // ecu-cli flash against ecu-sim; `received_` gets what the loader took.
  ProcessResult Flash(std::vector<std::string> sim_options,
                      const std::vector<std::string>& flash_args,
                      Interruption interruption = {}, double timeout_s = 60) {
    sim_options.insert(sim_options.end(),
                       {"--loader-log", firmware_.Path("loader.bin")});
    SimProcess sim(sim_options);
    std::vector<std::string> words = {"--port", sim.device(), "flash"};
    words.insert(words.end(), flash_args.begin(), flash_args.end());
    const ProcessResult result = RunCli(words, timeout_s, interruption);
    sim.Stop();
    received_ = firmware_.Read("loader.bin");
    return result;
  }

  FirmwareFolder firmware_{1024};
  std::string received_;
};

TEST_F(FlashCliTest, PrepareThenCharacterDelayEndsLaterLinesWithCrLf) {
  const ProcessResult r = Flash(
      {}, {firmware_.Path("FW.S"), "--char-delay", "0.0002", "--prepare"});
  EXPECT_EQ(r.exit_status, 0) << r.err;
  const size_t later = firmware_.lines().size() - 1;
  EXPECT_EQ(received_, firmware_.LoaderStream());
  EXPECT_THAT(r.out, HasSubstr("flash complete"));
  EXPECT_THAT(
      r.err, AllOf(HasSubstr("The controller is now ready to re-flash."),
                   HasSubstr("(" + std::to_string(later) + " lines counted)")));
}

TEST_F(FlashCliTest, CorruptedRecordGetsEAndExitsOne) {
  // Over a pty every line is written long before the sim's paced line has
  // carried it: the "E" comes while the utility listens after the last line.
  std::vector<std::string> lines = firmware_.lines();
  char& sum = lines[lines.size() / 2].back();
  sum = sum == '0' ? '1' : '0';
  const ProcessResult r =
      Flash({"--loader"}, {firmware_.WriteLines("BAD.S", lines)});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_THAT(r.out, HasSubstr("bad checksum"));
  EXPECT_THAT(r.err,
              HasSubstr("An error has occurred durring the program Flash "
                        "opperation, you must Flash the controller again."));
}

TEST_F(FlashCliTest, CtrlCEndsALongLineDelayAndHalts) {
  // Ten seconds after every line: Ctrl-C during the first pause halts the
  // run at once instead of after the pause (or, as it was, after days for
  // a delay of 1e6).
  const ProcessResult r =
      Flash({"--loader"}, {firmware_.Path("FW.S"), "--line-delay", "10"},
            {SIGINT, 1.0}, /*timeout_s=*/6);
  EXPECT_EQ(r.exit_status, 1) << r.err;
  EXPECT_THAT(r.err, HasSubstr("ecu-cli: flash: halted (1 lines counted)"));
}

TEST_F(FlashCliTest, NoLoaderEmptyFileAndUsage) {
  ProcessResult r = Flash({}, {firmware_.Path("FW.S")});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_THAT(r.err, HasSubstr("The controller doesnt appear to be ready"));
  r = Flash({"--loader"}, {firmware_.Write("EMPTY.S", "")});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_THAT(r.err, HasSubstr("is empty or could not be read"));
  EXPECT_EQ(received_, "");  // the controller was not touched
}

TEST(CommandLineTest, EveryNumberIsCheckedAndBounded) {
  // Each program and command, before its number options.
  using Words = std::vector<std::string>;
  const std::vector<std::pair<Words, Words>> programs = {
      {{"ecu-cli", "--port", kNoPort, "ping"}, {"--count"}},
      {{"ecu-cli", "--port", kNoPort, "monitor"}, {"--count"}},
      {{"ecu-cli", "--port", kNoPort, "log", "F.CSV"},
       {"--count", "--interval"}},
      {{"ecu-cli", "--port", kNoPort, "flash", "F.S"},
       {"--line-delay", "--char-delay"}},
      {{"ecu-cli", "info"}, {"--port"}},
      {{"ecu-sim"},
       {"--drop-every", "--corrupt-every", "--split-every",
        "--extra-byte-every", "--wrong-length-every", "--split-gap", "--delay",
        "--seed", "--revision", "--serial", "--time-scale",
        "--true-map-error"}},
  };
  // Negative, empty, trailing text, spaces, not finite, another base, huge.
  const std::vector<std::string> slips = {
      "-1",  "",     "5x",    " 5",          "inf",
      "nan", "0x10", "1e300", "99999999999", "99999999999999999999"};
  for (const auto& [words, options] : programs) {
    for (const std::string& option : options) {
      for (const std::string& slip : slips) {
        if (option == "--port" &&
            slip.find_first_not_of("0123456789") != std::string::npos) {
          continue;  // not a number: a device path
        }
        std::vector<std::string> argv = words;
        argv[0] = BuiltProgram(argv[0]);
        argv.insert(argv.end(), {option, slip});
        const auto r = RunProgram(argv);
        EXPECT_EQ(r.exit_status, 2) << option << " '" << slip << "'";
        EXPECT_THAT(r.err, HasSubstr(option + ": '" + slip + "' is not"));
      }
    }
  }
  // The bounds themselves are taken.
  const auto r = RunProgram({BuiltProgram("ecu-cli"), "--port", "255", "log",
                             "F.CSV", "--interval", "10000"});
  EXPECT_EQ(r.exit_status, 1) << r.err;  // no /dev/ttyS254 here
}

TEST(CommandLineTest, OtherUsageErrorsExitTwoWithoutTouchingThePort) {
  const std::vector<std::vector<std::string>> usage_errors = {
      {"ecu-cli"},
      {"ecu-cli", "frobnicate"},
      {"ecu-cli", "--port", kNoPort},
      {"ecu-cli", "--port", kNoPort, "save"},
      {"ecu-cli", "--port", kNoPort, "load", "a.SET", "b.SET"},
      {"ecu-cli", "--port", kNoPort, "info", "extra"},
      {"ecu-cli", "--port", kNoPort, "log"},
      {"ecu-cli", "--port", kNoPort, "log", "F.CSV", "--interval", "50"},
      {"ecu-cli", "--port", kNoPort, "log", "F.CSV", "--time", "us"},
      {"ecu-cli", "--port", kNoPort, "flash"},
      {"ecu-sim", "--frobnicate"},
      {"ecu-sim", "--drop-every"},
      {"ecu-sim", "--link", ""},
      {"ecu-sim", "--dump", ""},
      {"ecu-sim", "--drive", "sweeps"},
  };
  for (std::vector<std::string> argv : usage_errors) {
    argv[0] = BuiltProgram(argv[0]);
    const auto r = RunProgram(argv);
    EXPECT_EQ(r.exit_status, 2) << argv.back();
    EXPECT_THAT(r.err, AllOf(HasSubstr("Try '"), Not(HasSubstr("Comm Port"))));
  }
}

// Plain --help leaves the commands' options to each command's own help.
TEST(CommandLineTest, HelpAllShowsTheOptionsOfEveryCommand) {
  const auto cli = RunProgram({BuiltProgram("ecu-cli"), "--help-all"});
  EXPECT_EQ(cli.exit_status, 0);
  EXPECT_THAT(cli.out, HasSubstr("--line-delay S"));
}

}  // namespace
}  // namespace ecu::testing

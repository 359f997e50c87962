#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "sim/calibration_memory.h"
#include "sim/memory_dump.h"
#include "sim/memory_seed.h"
#include "support/processes.h"
#include "support/temp_folder.h"

namespace ecu::testing {
namespace {

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
  EXPECT_TRUE(Contains(first.out, "Cell      RPM    kPa  Samples  Lambda"))
      << first.out;
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
  EXPECT_TRUE(Contains(r.err, "line 437")) << r.err;  // the unknown key
  // Near the cell's centre, not on it: most of each sample counts for it.
  EXPECT_TRUE(Contains(r.out,
                       "c04r06    2813   56.7      9.5   1.100   "
                       "1.000   1.000   1.102   +10.2%"))
      << r.out;
  EXPECT_TRUE(Contains(r.out, "1 of 256 cells changed")) << r.out;
  std::string expected = base;
  expected.replace(expected.find("MAPM[070]=128"), 13, "MAPM[070]=141");
  EXPECT_EQ(ReadText(folder.Path("NEW.SET")), expected);

  // The same advice told in air/fuel ratio for gasoline.
  const auto afr = RunCli({"advise", folder.Path("LEAN.CSV"), "--setup",
                           folder.Path("BASE.SET"), "--target", "1.0",
                           "--min-samples", "1", "--afr", "14.7"});
  ASSERT_EQ(afr.exit_status, 0) << afr.err;
  EXPECT_TRUE(Contains(afr.out, "Samples     AFR  Target")) << afr.out;
  EXPECT_TRUE(Contains(afr.out, "9.5   16.17   14.70   1.000   1.102"))
      << afr.out;
  EXPECT_TRUE(Contains(afr.out, "AFR off target by")) << afr.out;
}

TEST(AdvisorCliTest, WhatCannotBeUsedIsSaid) {
  TempFolder folder;
  folder.Write("LEAN.CSV", LeanLog());
  folder.Write("NOT.CSV", "ACC_SEN = 50\r\n");
  sim::CalibrationMemory memory;
  sim::FillDefaultCalibration(memory);
  folder.Write("BASE.SET", sim::SetupFileText(memory));
  folder.Write("MAPONLY.SET", "MAPM[000]=128\r\n");
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string said;
  };
  const std::vector<Case> cases = {
      {{"advise", folder.Path("NONE.CSV"), "--setup", folder.Path("BASE.SET")},
       2,
       "could not be read"},
      {{"advise", folder.Path("NOT.CSV"), "--setup", folder.Path("BASE.SET")},
       2,
       "not a data log"},
      {{"advise", folder.Path("LEAN.CSV"), "--setup", folder.Path("NO.SET")},
       2,
       "could not be read"},
      {{"advise", folder.Path("LEAN.CSV"), "--setup",
        folder.Path("MAPONLY.SET")},
       2,
       "gives no FS_RPM or MAP_TYPE"},
      {{"advise", folder.Path("LEAN.CSV"), "--target", "3"}, 2, "neither ego"},
      {{"advise", folder.Path("LEAN.CSV"), "--setup", folder.Path("BASE.SET"),
        "--out", folder.Path("no/such/folder/NEW.SET")},
       1,
       "could not be written"},
      {{"--port", "/tmp/no-such-ecu-port", "advise", folder.Path("LEAN.CSV")},
       1,
       "could not be opened"},
  };
  for (const Case& c : cases) {
    const auto r = RunCli(c.args);
    EXPECT_EQ(r.exit_status, c.status) << c.said;
    EXPECT_TRUE(Contains(r.err, c.said)) << r.err;
  }
}

}  // namespace
}  // namespace ecu::testing

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "support/processes.h"
#include "support/temp_folder.h"

namespace ecu::testing {
namespace {

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
  const std::vector<std::string> lines = Lines(differs.out);
  ASSERT_EQ(lines.size(), 6u) << differs.out;
  EXPECT_EQ(lines[0], "A: ECU");
  EXPECT_EQ(lines[1], "B: " + tuned);
  EXPECT_EQ(lines[2], "Constants: calibration constants, 1 of 48 differ");
  // The items' lines are the compare's own (its unit test).
  EXPECT_TRUE(lines[3].starts_with("  TMP_THRS ")) << lines[3];
  EXPECT_EQ(lines[4], "MAPM: fuel map gain, 1 of 256 differ");
  EXPECT_TRUE(lines[5].starts_with("  MAPM[017] ")) << lines[5];

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
  EXPECT_NE(no_answer.err.find("The ECU did not answer"), std::string::npos)
      << no_answer.err;

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
  const std::vector<std::string> lines = Lines(found.out);
  ASSERT_EQ(lines.size(), 4u) << found.out;
  EXPECT_EQ(lines[0], silent.device() + ": no answer within 0.5 s");
  EXPECT_TRUE(lines[1].starts_with(garbled.device() +
                                   ": answered, but not as an ECU ("))
      << lines[1];
  EXPECT_EQ(lines[2], ecu.device() + ": ECU V1.02.04, serial 4242");
  EXPECT_EQ(lines[3], "/dev/none: no such port");

  const auto none = RunCli({"detect", silent.device()});
  EXPECT_EQ(none.exit_status, 1);
}

}  // namespace
}  // namespace ecu::testing

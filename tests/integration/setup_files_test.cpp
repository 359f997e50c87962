#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/processes.h"
#include "support/temp_folder.h"

namespace ecu::testing {
namespace {

namespace fs = std::filesystem;

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
  EXPECT_EQ(r.err,
            "Unknown variable in data file\n"
            "Unknown variable in data file\n"
            "ecu-cli: 2 lines of the setup file refused\n");
  sim.Stop();
  const std::string dump = ReadText(Path("sim.dump"));
  EXPECT_TRUE(Contains(dump, "EGO_RATE= 7\r\n")) << dump;
  EXPECT_TRUE(Contains(dump, "MAPM[001]=99\r\n"));

  sim.Start();
  r = RunCli({"--port", sim.device(), "load", Path("none.SET")});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_TRUE(Contains(r.err, "could not be read")) << r.err;
  r = RunCli({"--port", sim.device(), "save", Path("no-folder/x.SET")});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_TRUE(Contains(r.err, "could not be created")) << r.err;
  EXPECT_FALSE(fs::exists(Path("no-folder")));

  SimProcess silent({"--silent"});
  r = RunCli({"--port", silent.device(), "load",
              folder_.WriteLines("one.SET", {"EGO_RATE= 7"})});
  EXPECT_EQ(r.exit_status, 1);
  // The configuration read and the one write.
  EXPECT_TRUE(Contains(r.err, "ecu-cli: 2 transactions went unanswered"))
      << r.err;
}

// A save that cannot be whole, or that is stopped, leaves the old file as it
// was and no temporary file beside it.
TEST_F(SetupFilesTest, SaveThatStopsLeavesTheOldFileAlone) {
  folder_.WriteLines("keep.SET", {"EGO_RATE= 7"});
  SimProcess silent({"--silent"});
  auto r = RunCli({"--port", silent.device(), "save", Path("keep.SET")});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_TRUE(Contains(r.err,
                       "The setup file was not saved: the ECU stopped "
                       "answering at item EGO_SECS. The previous file is "
                       "unchanged."))
      << r.err;
  // The save gave up after the first read's ten attempts.
  EXPECT_TRUE(Contains(r.err, "ecu-cli: 1 transaction went unanswered"));

  SimProcess sim;
  for (int signal_number : {SIGINT, SIGTERM}) {
    r = RunCli({"--port", sim.device(), "save", Path("keep.SET")}, 60,
               {signal_number, 2.0});
    EXPECT_EQ(r.exit_status, 1) << r.err;
    EXPECT_TRUE(Contains(r.err, "the save was interrupted")) << r.err;
    EXPECT_EQ(ReadText(Path("keep.SET")), "EGO_RATE= 7\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_.path()), {}), 1);
  }
}

}  // namespace
}  // namespace ecu::testing

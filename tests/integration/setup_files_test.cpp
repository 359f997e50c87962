#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/processes.h"
#include "support/temp_folder.h"

namespace ecu {
namespace {

namespace fs = std::filesystem;
using testing::BuiltProgram;
using testing::Contains;
using testing::Lines;
using testing::ReadText;
using testing::RunProgram;
using testing::SimProcess;

// Waits for a file the sim writes on a signal.
bool Appears(const fs::path& path) {
  for (int i = 0; i < 300 && !fs::exists(path); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return fs::exists(path);
}

class SetupFilesTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder_.Path(name); }
  testing::ProcessResult Cli(const std::string& device,
                             std::vector<std::string> words,
                             testing::Interruption interruption = {}) {
    std::vector<std::string> argv = {BuiltProgram("ecu-cli"), "--port", device};
    argv.insert(argv.end(), words.begin(), words.end());
    return RunProgram(argv, 60, interruption);
  }
  // Every file of the scratch folder.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_.path())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  testing::TempFolder folder_;
};

TEST_F(SetupFilesTest, SaveMatchesTheSimDumpAndLoadCopiesTheCalibration) {
  SimProcess first({"--seed", "21", "--dump", Path("first.dump")});
  ASSERT_TRUE(first.running());
  const auto saved = Cli(first.device(), {"save", Path("saved.SET")});
  EXPECT_EQ(saved.exit_status, 0) << saved.err;
  EXPECT_EQ(saved.out, "436 lines saved to " + Path("saved.SET") + "\n");
  EXPECT_EQ(saved.err, "");  // no bar: stderr is not a terminal

  // The sim dumps on SIGUSR1 and goes on serving.
  first.Signal(SIGUSR1);
  ASSERT_TRUE(Appears(Path("first.dump")));
  const std::string file = ReadText(Path("saved.SET"));
  const std::string dump = ReadText(Path("first.dump"));
  const std::vector<std::string> file_lines = Lines(file);
  const std::vector<std::string> dump_lines = Lines(dump);
  ASSERT_EQ(file_lines.size(), 436u);
  ASSERT_EQ(dump_lines.size(), 436u);
  for (size_t i = 0; i < file_lines.size(); ++i) {
    EXPECT_EQ(file_lines[i], dump_lines[i]) << "line " << i + 1;
  }
  EXPECT_EQ(file, dump);
  EXPECT_EQ(Cli(first.device(), {"info"}).exit_status, 0);

  // Another calibration, overwritten by the file; its dump at exit shows
  // the same memory as the first sim's.
  SimProcess second({"--seed", "22", "--dump", Path("second.dump")});
  const auto loaded = Cli(second.device(), {"load", Path("saved.SET")});
  EXPECT_EQ(loaded.exit_status, 0) << loaded.err;
  EXPECT_EQ(loaded.out,
            "436 lines of " + Path("saved.SET") + " sent to the ECU\n");
  EXPECT_EQ(loaded.err, "");
  second.Stop();
  EXPECT_EQ(ReadText(Path("second.dump")), dump);
}

TEST_F(SetupFilesTest, RefusedLinesAndMissingFilesExitOne) {
  SimProcess sim({"--dump", Path("sim.dump")});
  folder_.WriteLines(
      "odd.SET", {"EGO_RATE= 7", "NO_SUCH = 1", "MAPM[256]=1", "MAPM[001]=99"});
  auto r = Cli(sim.device(), {"load", Path("odd.SET")});
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

  SimProcess other;
  r = Cli(other.device(), {"load", Path("none.SET")});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_TRUE(Contains(r.err, "could not be read")) << r.err;
  r = Cli(other.device(), {"save", Path("no-folder/x.SET")});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_TRUE(Contains(r.err, "could not be created")) << r.err;
  EXPECT_FALSE(fs::exists(Path("no-folder")));
}

TEST_F(SetupFilesTest, UnansweredWritesAreCounted) {
  SimProcess sim({"--silent"});
  folder_.WriteLines("one.SET", {"EGO_RATE= 7"});
  const auto r = Cli(sim.device(), {"load", Path("one.SET")});
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
  auto r = Cli(silent.device(), {"save", Path("keep.SET")});
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
    r = Cli(sim.device(), {"save", Path("keep.SET")}, {signal_number, 2.0});
    EXPECT_EQ(r.exit_status, 1) << r.err;
    EXPECT_TRUE(Contains(r.err, "the save was interrupted")) << r.err;
    EXPECT_EQ(ReadText(Path("keep.SET")), "EGO_RATE= 7\r\n");
    EXPECT_EQ(Files(), std::vector<std::string>{"keep.SET"});
  }
}

TEST_F(SetupFilesTest, AnInterruptedLoadSaysWhatItApplied) {
  std::vector<std::string> lines(200, "EGO_RATE= 7");
  folder_.WriteLines("many.SET", lines);
  SimProcess sim;
  // Past the configuration read, into the lines (about 22 ms each).
  const auto r = Cli(sim.device(), {"load", Path("many.SET")}, {SIGINT, 1.5});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_TRUE(std::regex_search(
      r.err,
      std::regex("Loading .*many.SET was interrupted after line "
                 "[0-9]+ of 200: [0-9]+ lines were applied to the ECU.")))
      << r.err;
}

}  // namespace
}  // namespace ecu

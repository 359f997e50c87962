#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "core/calibration/setup_file_format.h"
#include "core/calibration/setup_file_reader.h"
#include "core/calibration/setup_file_writer.h"
#include "core/link/frame.h"
#include "sim/memory_dump.h"
#include "sim/memory_seed.h"
#include "support/temp_folder.h"
#include "support/test_ecu.h"
#include "support/text.h"

namespace ecu {
namespace {

using testing::Contains;

namespace fs = std::filesystem;
using testing::ReadText;

// The link, the image it decodes into, and a scratch folder.
class SetupFileTest : public ::testing::Test,
                      protected testing::CalibrationLinkRig {
 protected:
  SetupFileReport Load(const std::vector<std::string>& lines) {
    return SetupFileReader(rig.link).load(folder_.WriteLines("in.SET", lines));
  }
  std::vector<std::string> Written() const { return rig.port.written(); }
  long Files() const {
    return std::distance(fs::directory_iterator(folder_.path()), {});
  }

  testing::TempFolder folder_;
};

// How the loader reads one line: a command, or nothing. Keys and indexes
// come from fixed columns; a value that does not fit its item, or has no
// digit, is refused rather than sent cut down or as 0. (Every item's own
// line and write are in the catalogue's known answers.)
TEST(SetupLineTest, LinesBecomeTheirWritesOrAreRefused) {
  using Action = SetupLineRequest::Action;
  const std::string kRefused = "refused", kSkipped = "skipped";
  const std::pair<const char*, std::string> lines[] = {
      {"ACC_SEN=50", kRefused},  // the key field is "ACC_SEN="
      {"acc_sen = 50", kRefused},
      {"AB", kRefused},
      {"ACC_[000]=1", kRefused},
      {"MAPM    = 50", kSkipped},  // a table key padded like a scalar key
      {"", kSkipped},
      {"   ", kSkipped},
      {"MAPM[005]=160", Command('e', 0x05, 0x01, 160)},
      {"SUPM[000]=65535", Command('x', 0xA2, 0xFF, 0xFF)},
      // Two index digits: the value column stays at eleven.
      {"MAPM[12]= 5", Command('e', 12, 1, 5)},
      {"MAPM[12]=5", kRefused},
      {"EGO_RATE= 2.5", CommandWithByte('c', 2)},  // halves to even
      {"EGO_RATE= 3.5", CommandWithByte('c', 4)},
      {"EGO_RATE= 1 2", CommandWithByte('c', 12)},
      {"FS_RPM  = 8000 rpm", CommandWithWord(125, 8000)},  // lenient
      {"FS_RPM  = .5e4", CommandWithWord(125, 5000)},
      {"COOL_DEG= -128", Command(154, 128, 0, 0)},
      {"TMP_THRS= -13", Command('w', 243, 0, 0)},
  };
  auto read = [&](const char* line) {
    const SetupLineRequest request = ParseSetupLine(line);
    if (request.action == Action::kSend) return request.command;
    return request.action == Action::kSkip ? kSkipped : kRefused;
  };
  for (const auto& [line, expected] : lines)
    EXPECT_EQ(read(line), expected) << line;
  // Lines the writer never makes would otherwise go out cut to their
  // width, address a cell outside their table, or send 0.
  for (const char* line :
       {"MAPM[256]=1", "MAPM[-01]=1", "SUPM[009]=1", "SUPM[047]=1",
        "PTBL[008]=1", "MAPM[000]=256", "MAPM[000]=-1", "SUPM[000]=65536",
        "PTBL[000]=300", "ACC_SEN = 65536", "ACC_SEN = -1", "EGO_RATE= 256",
        "EGO_RATE= -1", "COOL_DEG= -129", "TMP_THRS= 256", "FS_RPM  = 1e9"}) {
    EXPECT_EQ(read(line), kRefused) << line;
  }
  for (const char* line : {"FUEL_MX = ", "FS_RPM  = abc", "FS_RPM  = -",
                           "EGO_RATE= x", "MAPM[000]=", "PTBL[001]= ."}) {
    EXPECT_EQ(ReadSetupLine(line).kind, SetupLine::Kind::kNoValue) << line;
    EXPECT_EQ(read(line), kRefused) << line;
  }
}

// Bytes and results of a whole load are checked end to end against the sim;
// here the progress and the pause after each line.
TEST_F(SetupFileTest, LoadTellsItsProgressAndPausesAfterEachLine) {
  std::vector<std::pair<int, int>> progress;
  SetupFileReader reader(rig.link, [&](int done, int total) {
    progress.emplace_back(done, total);
  });
  const double start = rig.clock.now();
  const SetupFileReport report = reader.load(folder_.WriteLines(
      "in.SET", {"BAT_COMP= 37", "MAPM[005]=160", "COOL_DEG= -5",
                 "BAT_COMP= 37", "PTBL[003]=129", "SUPM[001]=16383"}));
  EXPECT_TRUE(report.file_ok);
  EXPECT_EQ(report.lines, 6);
  EXPECT_EQ(Written().size(), 6u);
  EXPECT_EQ(progress.front(), std::make_pair(0, 6));
  EXPECT_EQ(progress[5], std::make_pair(5, 6));
  EXPECT_EQ(progress.back(), std::make_pair(6, 6));
  EXPECT_GE(rig.clock.now() - start, 6 * 0.005);
}

TEST_F(SetupFileTest, RefusedLinesAreToldAndUnansweredWritesCounted) {
  ecu.silent_codes = {'e'};
  const SetupFileReport report =
      Load({"ACC_SEN=50", "acc_sen = 50", "MAPM    = 1", "MAPM[256]=1",
            "EGO_RATE= 256", "", "MAPM[000]=1", "EGO_RATE= 7"});
  EXPECT_EQ(report.refused_lines, 4);
  EXPECT_EQ(report.skipped_lines, 2);  // the table key and the blank line
  EXPECT_EQ(report.unanswered, 1);
  const std::vector<std::string> told = rig.prompts.texts();
  ASSERT_EQ(told.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(told.begin(), told.begin() + 4),
            std::vector<std::string>(4, "Unknown variable in data file"));
  EXPECT_EQ(told[4].substr(0, 26), "Warning, comm non-response");
  EXPECT_EQ(Written().size(), 10u + 1u);  // the silent write's tries, "c"
  EXPECT_EQ(Written().back(), BuildRequest(CommandWithByte('c', 7)));
  EXPECT_EQ(ecu.memory().Scalar("EGO_RATE"), 7);
}

TEST_F(SetupFileTest, LoadReadsALineAtATimeAndMayBeInterrupted) {
  // A last line without its end counts; a line beyond any setup line is
  // refused from its start, its rest skipped unread.
  const std::string path = folder_.Path("long.SET");
  {
    std::ofstream out(path, std::ios::binary);
    out << "EGO_RATE= 7\r\n"
        << std::string(5000, '9') << "\r\n"
        << "EGO_RATE= 8";
  }
  const SetupFileReport report = SetupFileReader(rig.link).load(path);
  EXPECT_EQ(report.lines, 3);
  EXPECT_EQ(report.sent_lines, 2);
  EXPECT_EQ(report.refused_lines, 1);
  EXPECT_FALSE(report.interrupted);
  EXPECT_EQ(ecu.memory().Scalar("EGO_RATE"), 8);
  // An interrupted load says how many lines were applied.
  rig.prompts.Clear();
  int asked = 0;
  SetupFileReader reader(rig.link, {}, [&asked] { return ++asked > 3; });
  const SetupFileReport cut = reader.load(folder_.WriteLines(
      "in.SET", {"EGO_RATE= 7", "MAPM    = 1", "BAT_COMP= 37", "EGO_RATE= 9",
                 "EGO_RATE= 10"}));
  EXPECT_TRUE(cut.interrupted);
  EXPECT_EQ(cut.lines, 3);
  EXPECT_EQ(rig.prompts.texts(),
            std::vector<std::string>{
                "Loading " + folder_.Path("in.SET") +
                " was interrupted after line 3 of 5: 2 lines were applied to "
                "the ECU."});
  EXPECT_EQ(ecu.memory().Scalar("EGO_RATE"), 7);
}

TEST_F(SetupFileTest, SaveWritesEveryItemInFileOrderOrSaysWhyNot) {
  sim::FillRandomCalibration(ecu.memory(), 5);
  std::vector<int> steps;
  SetupFileWriter writer(rig.link, image, [&](int done, int total) {
    EXPECT_EQ(total, 441);
    steps.push_back(done);
  });
  const std::string path = folder_.Path("out.SET");
  const SetupFileReport report = writer.save(path);
  EXPECT_TRUE(report.file_ok);
  EXPECT_EQ(report.unanswered, 0);
  EXPECT_TRUE(rig.prompts.shown().empty());
  // The whole file is the virtual ECU's own dump of its memory.
  EXPECT_EQ(ReadText(path), sim::SetupFileText(ecu.memory()));
  // 31 holder reads, then one read per element outside the phase table.
  ASSERT_EQ(Written().size(), 410u);
  ASSERT_EQ(steps.size(), 441u);
  for (size_t i = 0; i < steps.size(); ++i) EXPECT_EQ(steps[i], int(i) + 1);
  // A save that cannot replace the file, or reads nothing, says so.
  fs::create_directory(folder_.Path("taken.SET"));  // a folder in the way
  EXPECT_FALSE(
      SetupFileWriter(rig.link, image).save(folder_.Path("taken.SET")).file_ok);
  ASSERT_EQ(rig.prompts.texts().size(), 1u);
  EXPECT_TRUE(Contains(rig.prompts.texts()[0], "could not be written"));
  // Demo mode reads nothing, so saves nothing.
  rig.state.demo_mode = true;
  const std::string demo = folder_.Path("demo.SET");
  EXPECT_FALSE(SetupFileWriter(rig.link, image).save(demo).file_ok);
  EXPECT_FALSE(fs::exists(demo));
  EXPECT_EQ(rig.prompts.texts().back(),
            "The setup file was not saved: the console is in demo mode and "
            "reads nothing from the ECU. The previous file is unchanged.");
}

// A save stops at the first read left unanswered after its retries, and
// leaves the old file as it was: no stale holders, no repeated element.
TEST_F(SetupFileTest, AnUnansweredReadLeavesTheOldFileAndNamesTheItem) {
  struct Case {
    std::set<int> silent;
    const char* item;
    size_t reads;  // requests written before the save gave up
  };
  for (const Case& c :
       {Case{{'B'}, "FUEL_B", 1 + 10}, Case{{'W'}, "TMP_THRS", 12 + 10},
        Case{{'X'}, "SUPM[000]", 31 + 256 + 24 + 10}}) {
    rig.port.ClearWritten();
    rig.prompts.Clear();
    ecu.silent_codes = c.silent;
    const std::string path = folder_.WriteLines("keep.SET", {"EGO_RATE= 7"});
    const SetupFileReport report = SetupFileWriter(rig.link, image).save(path);
    EXPECT_FALSE(report.file_ok);
    EXPECT_EQ(report.unanswered, 1);
    EXPECT_EQ(Written().size(), c.reads) << c.item;
    EXPECT_EQ(rig.prompts.texts().back(),
              std::string("The setup file was not saved: the ECU stopped "
                          "answering at item ") +
                  c.item + ". The previous file is unchanged.");
    EXPECT_EQ(ReadText(path), "EGO_RATE= 7\r\n");
    EXPECT_EQ(Files(), 1);  // no temporary file left behind
  }
}

}  // namespace
}  // namespace ecu

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/calibration/setup_file_writer.h"
#include "core/link/frame.h"
#include "core/workbench/block_interpolation.h"
#include "core/workbench/calibration_copy.h"
#include "core/workbench/calibration_diff.h"
#include "core/workbench/compare_model.h"
#include "core/workbench/ecu_snapshot.h"
#include "sim/memory_cells.h"
#include "sim/memory_seed.h"
#include "support/temp_folder.h"
#include "support/test_ecu.h"

namespace ecu {
namespace {

using Texts = std::vector<std::string>;

std::string Text(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::vector<std::string> Names(const CalibrationComparison& result) {
  std::vector<std::string> names;
  for (const DifferenceGroup& group : result.groups) {
    for (const ItemDifference& item : group.items) names.push_back(item.name);
  }
  return names;
}

const ItemDifference& Item(const CalibrationComparison& result,
                           const std::string& name) {
  for (const DifferenceGroup& group : result.groups) {
    for (const ItemDifference& item : group.items) {
      if (item.name == name) return item;
    }
  }
  throw std::runtime_error("no difference for " + name);
}

TEST(CompareTest, EveryKindOfItemIsComparedInEngineeringUnitsAndRaw) {
  const CalibrationSnapshot a = SnapshotOfSetupText(
      Text({"ACC_SEN = 10", "EGO_RATE= 8", "TMP_THRS= 243", "COOL_DEG= -5",
            "OPTIONS = 1", "MAPM[017]=160", "TPSM[002]=625", "PTBL[003]=5"}));
  const CalibrationSnapshot b = SnapshotOfSetupText(
      Text({"ACC_SEN = 12", "EGO_RATE= 8", "TMP_THRS= -13", "COOL_DEG= 251",
            "OPTIONS = 3", "MAPM[017]=192", "TPSM[002]=1250", "PTBL[003]=6"}));
  const CalibrationComparison result = CompareCalibrations(a, b, LiveData{});
  // Both spellings of a signed byte are one value; equal items are left out.
  EXPECT_EQ(Names(result), (Texts{"ACC_SEN", "OPTIONS", "MAPM[017]",
                                  "PTBL[003]", "TPSM[002]"}));
  ASSERT_EQ(result.groups.size(), 4u);
  EXPECT_EQ(Item(result, "TPSM[002]").value_b, "2.000");
  // A choice or a set of bits has no arithmetic difference.
  EXPECT_EQ(Item(result, "OPTIONS").difference, "");
  EXPECT_FALSE(Item(result, "PTBL[003]").delta.has_value());
  // Values, raw counts and the difference as the list and ecu-cli show them.
  const std::vector<std::string> lines = ComparisonLines(result);
  EXPECT_EQ(lines[0], "Constants: calibration constants, 2 of 48 differ");
  EXPECT_EQ(lines[1],
            "  ACC_SEN             2.05 (10)          2.46 (12)      +0.41"
            "  acceleration enrichment sensitivity (ms/V)");
  EXPECT_EQ(lines[3], "MAPM: fuel map gain, 1 of 256 differ");
  EXPECT_EQ(lines[4],
            "  MAPM[017]          1.25 (160)         1.50 (192)       +.25");
}

TEST(CompareTest, UnknownIsNeverZeroAndEachSideHasItsOwnScale) {
  const CalibrationSnapshot a =
      SnapshotOfSetupText(Text({"EGOM[000]=0", "IDLE[001]=100"}));
  const CalibrationSnapshot b = SnapshotOfSetupText(Text({"EGOM[000]=101"}));
  const CalibrationComparison result = CompareCalibrations(a, b, LiveData{});
  EXPECT_EQ(Names(result), (Texts{"EGOM[000]", "IDLE[001]"}));
  const ItemDifference& no_value = Item(result, "EGOM[000]");
  EXPECT_EQ(no_value.value_a, "");  // 101 / 0 has no value
  EXPECT_EQ(no_value.value_b, "1.000");
  EXPECT_FALSE(no_value.delta.has_value());
  EXPECT_EQ(ComparisonLines(result).back(),
            "  IDLE[001]           800 (100)            unknown");
  EXPECT_FALSE(CompareModel::Pickable(Item(result, "IDLE[001]")));
  // Each side is scaled by its own full scale and sensor.
  const CalibrationSnapshot six = SnapshotOfSetupText(Text(
      {"FS_RPM  = 6000", "MAP_TYPE= 0", "TPS_RPM = 512", "MIN_PRES= 1023"}));
  const CalibrationSnapshot eight = SnapshotOfSetupText(Text(
      {"FS_RPM  = 8000", "MAP_TYPE= 1", "TPS_RPM = 512", "MIN_PRES= 1023"}));
  const CalibrationComparison same = CompareCalibrations(six, eight, {});
  // Same raw counts: not a difference, even though they read differently.
  EXPECT_EQ(Names(same), (Texts{"FS_RPM", "MAP_TYPE"}));
  const CalibrationSnapshot c = SnapshotOfSetupText(
      Text({"FS_RPM  = 8000", "MAP_TYPE= 1", "TPS_RPM = 256", "MIN_PRES= 0"}));
  const CalibrationComparison scaled = CompareCalibrations(six, c, {});
  EXPECT_EQ(Item(scaled, "TPS_RPM").value_a, "3003");
  EXPECT_EQ(Item(scaled, "TPS_RPM").value_b, "2002");
  EXPECT_EQ(Item(scaled, "MIN_PRES").value_a, "125.0");
  EXPECT_EQ(Item(scaled, "MIN_PRES").value_b, "10.0");
}

TEST(CompareTest, BadLinesAreProblemsWithTheirNumbersAndNoFileIsTrouble) {
  const CalibrationSnapshot s = SnapshotOfSetupText(
      "ACC_SEN = 10\r\rMAPM    = 3\nFOO     = 1\r\nMAPM[300]=1\n"
      "ACC_SEN = 70000\nACC_SEN = 11");
  ASSERT_EQ(s.problems.size(), 3u);
  EXPECT_EQ(s.problems[0].line, 4);
  EXPECT_EQ(s.problems[0].reason, "unknown key: \"FOO     = 1\"");
  EXPECT_EQ(s.problems[1].line, 5);
  EXPECT_EQ(s.problems[1].reason, "index outside the table: \"MAPM[300]=1\"");
  EXPECT_EQ(s.problems[2].line, 6);
  // The last line of a key wins, as a load would leave the ECU.
  EXPECT_EQ(s.scalar(*FindScalar("ACC_SEN")), 11);
  // A file that cannot be read is trouble (its text: the compare model's
  // test below).
  testing::TempFolder folder;
  EXPECT_FALSE(SnapshotOfSetupFile(folder.path()).trouble.empty());
  const CalibrationSnapshot good =
      SnapshotOfSetupFile(folder.Write("a.SET", "EGO_RATE= 8\r\n"));
  EXPECT_TRUE(good.trouble.empty());
  EXPECT_EQ(good.UnknownCount(), 48 + 387 - 1);
}

// The link over the virtual ECU, decoding into an image, and a folder.
class EcuCompareTest : public ::testing::Test,
                       protected testing::CalibrationLinkRig {
 protected:
  EcuCompareTest() { sim::FillRandomCalibration(ecu.memory(), 7); }

  testing::TempFolder folder_;
};

TEST_F(EcuCompareTest, UnansweredReadsLeaveItemsUnknownAndASilentEcuIsTrouble) {
  ecu.silent_codes = {'W'};
  const CalibrationSnapshot read = ReadEcuSnapshot(rig.link, image);
  EXPECT_TRUE(read.trouble.empty());
  EXPECT_EQ(read.unanswered_reads, 1);
  EXPECT_FALSE(read.scalar(*FindScalar("TMP_THRS")).has_value());
  EXPECT_EQ(read.UnknownCount(), 1);
  ecu.silent_codes = {'E'};
  rig.port.ClearWritten();
  EXPECT_FALSE(ReadEcuSnapshot(rig.link, image).trouble.empty());
  EXPECT_EQ(rig.port.written().size(), 31u + 3 * 10);
  // A silent ECU is trouble after its first read.
  rig.port.ClearWritten();
  for (int code = 0; code < 256; ++code) ecu.silent_codes.insert(code);
  EXPECT_EQ(ReadEcuSnapshot(rig.link, image).trouble.substr(0, 26),
            "The ECU did not answer; no");
  EXPECT_EQ(rig.port.written().size(), 10u);  // the ten tries of "C"
}

TEST_F(EcuCompareTest, CopyWritesTheSourceValuesWithTheirWriteCommands) {
  const CalibrationSnapshot source = SnapshotOfSetupText(
      Text({"ACC_SEN = 12", "COOL_DEG= -5", "MAPM[017]=192", "TPSM[002]=1250",
            "PTBL[003]=6", "TRGS_PH = 4"}));
  CalibrationSnapshot empty;
  const CalibrationComparison diff = CompareCalibrations(empty, source, live);
  std::vector<const ItemDifference*> items;
  for (const char* name : {"ACC_SEN", "COOL_DEG", "MAPM[017]", "TPSM[002]",
                           "PTBL[003]", "TRGS_PH"}) {
    items.push_back(&Item(diff, name));
  }
  ecu.silent_codes = {123};  // TRGS_PH's write
  const CopyReport report = CopyToEcu(rig.link, image, source, items);
  std::vector<std::string> sent = rig.port.written();
  sent.resize(5);
  EXPECT_EQ(sent, (Texts{BuildRequest(CommandWithWord('g', 12)),
                         BuildRequest(Command(154, 251, 0, 0)),
                         BuildRequest(Command('e', 0x11, 1, 192)),
                         BuildRequest(Command('x', 0xB8, 0xE2, 0x04)),
                         BuildRequest(Command(128, 3, 6, 0))}));
  ASSERT_EQ(report.items.size(), 6u);
  EXPECT_EQ(report.items[1].held, -5);
  EXPECT_EQ(report.items[3].held, 1250);
  EXPECT_FALSE(report.items[5].held.has_value());
  EXPECT_EQ(report.unanswered, 1);
}

class FakeBusy : public BusyView {
 public:
  void BeginBusy() override {}
  void ShowProgress(double fraction) override { last = fraction; }
  void EndBusy() override { ++ended; }
  int ended = 0;
  double last = 0;
};

TEST_F(EcuCompareTest, CompareModelCopiesPickedItemsOnlyWhenAskedAndConfirmed) {
  const std::string path = folder_.Path("tune.SET");
  ASSERT_TRUE(SetupFileWriter(rig.link, image).save(path).file_ok);
  sim::SetCellValue(ecu.memory(), *FindTable("MAPM"), 40, 77);
  ecu.memory().SetScalar("EGO_RATE", 99);
  FakeBusy busy;
  CompareModel model(rig.link, image, live, busy);
  model.b_path = path;
  ASSERT_TRUE(model.Compare());
  EXPECT_EQ(busy.ended, 1);
  EXPECT_EQ(busy.last, 1.0);
  EXPECT_EQ(Names(model.comparison()), (Texts{"EGO_RATE", "MAPM[040]"}));
  EXPECT_EQ(model.Summary(),
            "2 items differ between A (ECU) and B (tune.SET).");
  model.SetPicked("MAPM[040]", true);
  rig.port.ClearWritten();
  model.CopyPicked();  // No is the default answer
  EXPECT_TRUE(rig.port.written().empty());
  rig.prompts.QueueAnswer(Answer::kYes);
  model.CopyPicked();
  EXPECT_EQ(Names(model.comparison()), Texts{"EGO_RATE"});
  EXPECT_EQ(model.picked_count(), 0);
  EXPECT_EQ(rig.prompts.texts().back(), "1 of 1 items written into the ECU.");
  // Trouble is told, and the last comparison kept.
  rig.port.ClearWritten();
  model.b_path = folder_.Path("missing.SET");
  EXPECT_FALSE(model.Compare());
  EXPECT_TRUE(model.compared());
  EXPECT_EQ(Names(model.comparison()), Texts{"EGO_RATE"});
  EXPECT_TRUE(rig.port.written().empty());  // the file is read first
  EXPECT_EQ(rig.prompts.texts().back(),
            "The setup file " + model.b_path + " could not be read.");
  rig.state.demo_mode = true;
  model.b_path = folder_.Write("b.SET", "EGO_RATE= 8\r\n");
  EXPECT_FALSE(model.Compare());
  EXPECT_EQ(rig.prompts.texts().back(),
            "The console runs in demo mode: there is no ECU to read.");
}

// A 4 x 3 grid (columns x rows) from rows of text, top row first, as the
// map is seen; "-" for a cell without a number.
GridValues Grid(const std::vector<std::vector<const char*>>& top_first) {
  GridValues grid;
  grid.rows = static_cast<int>(top_first.size());
  grid.columns = static_cast<int>(top_first[0].size());
  grid.cells.resize(static_cast<size_t>(grid.rows * grid.columns));
  for (int r = 0; r < grid.rows; ++r) {
    for (int c = 0; c < grid.columns; ++c) {
      const std::string text = top_first[static_cast<size_t>(grid.rows - 1 - r)]
                                        [static_cast<size_t>(c)];
      if (text != "-") {
        grid.cells[static_cast<size_t>(grid.rows * c + r)] = std::stod(text);
      }
    }
  }
  return grid;
}

std::map<int, double> Shaped(const GridValues& grid, BlockBounds block,
                             BlockShaping shaping) {
  const auto shaped = ShapeBlock(grid, block, shaping);
  return {shaped.begin(), shaped.end()};
}

const BlockBounds kWhole{0, 3, 0, 2};

TEST(BlockShapingTest, LinesRunBetweenTheEdgesAndBilinearFromTheCorners) {
  const GridValues grid = Grid({{"2.0", "9", "9", "0.5"},
                                {"1.0", "9", "9", "1.6"},
                                {"1.0", "9", "9", "1.3"}});
  const auto across = Shaped(grid, kWhole, BlockShaping::kHorizontal);
  ASSERT_EQ(across.size(), 12u);
  EXPECT_DOUBLE_EQ(across.at(3 * 1 + 0), 1.1);  // bottom row, column 1
  EXPECT_DOUBLE_EQ(across.at(3 * 2 + 1), 1.4);  // middle row, column 2
  EXPECT_DOUBLE_EQ(across.at(3 * 1 + 2), 1.5);  // top row falls from 2.0
  EXPECT_DOUBLE_EQ(across.at(0), 1.0);          // the edges stay
  const GridValues columns = Grid(
      {{"1.8", "3", "-", "0"}, {"9", "9", "9", "9"}, {"1.0", "1", "1", "-"}});
  const auto up = Shaped(columns, kWhole, BlockShaping::kVertical);
  EXPECT_DOUBLE_EQ(up.at(1), 1.4);
  EXPECT_DOUBLE_EQ(up.at(3 * 1 + 1), 2.0);
  // A column whose end holds no number is left alone.
  EXPECT_FALSE(up.contains(3 * 2 + 1));
  EXPECT_FALSE(up.contains(3 * 3 + 1));
  // Bilinear from the four corners of the block only: the block is columns
  // 1..3, rows 0..2; column 0 lies outside it.
  const GridValues corners = Grid({{"7", "1.2", "0", "2.0"},
                                   {"7", "0", "0", "0"},
                                   {"7", "0.8", "0", "1.2"}});
  const auto shaped =
      Shaped(corners, BlockBounds{1, 3, 0, 2}, BlockShaping::kBilinear);
  ASSERT_EQ(shaped.size(), 9u);
  EXPECT_FALSE(shaped.contains(0));
  EXPECT_DOUBLE_EQ(shaped.at(3 * 2 + 1), 1.3);  // the centre
  EXPECT_DOUBLE_EQ(shaped.at(3 * 2 + 0), 1.0);  // bottom edge, halfway
  EXPECT_DOUBLE_EQ(shaped.at(3 * 3 + 1), 1.6);  // right edge, halfway
  EXPECT_DOUBLE_EQ(shaped.at(3 * 1 + 2), 1.2);  // a corner stays
}

TEST(BlockShapingTest, SmoothingWeighsNeighboursInsideTheGrid) {
  const GridValues grid =
      Grid({{"1", "1", "1", "1"}, {"1", "2", "1", "-"}, {"1", "1", "1", "1"}});
  // The spike: (4 x 2 + 8 x 1 ... ) / 16 = 1.25.
  const auto one = Shaped(grid, BlockBounds{1, 1, 1, 1}, BlockShaping::kSmooth);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_DOUBLE_EQ(one.at(3 * 1 + 1), 1.25);
  // A corner cell of the grid has four neighbours of weights 4, 2, 2, 1;
  // the cell without a number stays out of the block and out of the sums.
  const auto all = Shaped(grid, kWhole, BlockShaping::kSmooth);
  EXPECT_DOUBLE_EQ(all.at(0), (4 + 2 + 2 + 2 * 1.0) / 9);
  EXPECT_FALSE(all.contains(3 * 3 + 1));
  EXPECT_DOUBLE_EQ(all.at(3 * 3 + 0), 1.0);
  // A flat grid stays flat.
  const auto flat = Shaped(Grid({{"1.5", "1.5"}, {"1.5", "1.5"}}),
                           BlockBounds{0, 1, 0, 1}, BlockShaping::kSmooth);
  for (const auto& [index, value] : flat) EXPECT_DOUBLE_EQ(value, 1.5);
}

}  // namespace
}  // namespace ecu

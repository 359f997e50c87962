#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/sim/sim_command_line.h"
#include "core/calibration/catalogue.h"
#include "sim/memory_cells.h"
#include "sim/memory_dump.h"
#include "sim/memory_seed.h"
#include "support/temp_folder.h"

namespace ecu::sim {
namespace {

std::string Seeded(uint32_t seed) {
  CalibrationMemory memory;
  FillRandomCalibration(memory, seed);
  return SetupFileText(memory);
}

TEST(MemoryDumpTest, WritesEveryLineAsTheConsoleSaveWould) {
  CalibrationMemory memory;
  FillDefaultCalibration(memory);
  memory.SetScalar("COOL_DEG", 251);  // -5 degrees: kept signed
  memory.SetScalar("TMP_THRS", 243);  // -13 degrees: kept as its byte
  memory.SetScalar("FUEL_B", 16384);  // 0 ms: kept with its bias
  memory.SetScalar("BAT_COMP", 38);
  SetCellValue(memory, *FindTable("SUPM"), 8, 16383);
  const std::vector<std::string> lines =
      testing::CrLfLines(SetupFileText(memory));
  ASSERT_EQ(lines.size(), 436u);
  EXPECT_EQ(lines[0], "ACC_SEN = 50");
  EXPECT_EQ(lines[9], "BAT_COMP= 38");
  EXPECT_EQ(lines[10], "FS_RPM  = 10000");
  EXPECT_EQ(lines[16], "TMP_THRS= 243");
  EXPECT_EQ(lines[24], "FUEL_B  = 16384");
  EXPECT_EQ(lines[28], "COOL_DEG= -5");
  EXPECT_EQ(lines[29], "BAT_COMP= 38");
  EXPECT_EQ(lines[48], "MNRPMDCL= 1500");
  EXPECT_EQ(lines[49], "MAPM[000]=128");
  EXPECT_EQ(lines[305], "PTBL[000]=1");
  EXPECT_EQ(lines[345], "SUPM[008]=16383");
  EXPECT_EQ(lines[435], "IDLE[008]=100");
}

TEST(MemoryDumpTest, ReplacesTheFileWhole) {
  testing::TempFolder folder;
  const std::string path = folder.Write("dump.set", "an older dump");
  CalibrationMemory memory;
  FillRandomCalibration(memory, 5);
  ASSERT_TRUE(WriteMemoryDump(memory, path));
  EXPECT_EQ(testing::ReadText(path), SetupFileText(memory));
  EXPECT_FALSE(WriteMemoryDump(memory, "/no-such-folder/dump.set"));
}

TEST(MemorySeedTest, RandomContentsFollowTheSeedAndStayPlausible) {
  EXPECT_EQ(Seeded(42), Seeded(42));
  EXPECT_NE(Seeded(42), Seeded(43));
  for (uint32_t seed = 0; seed < 50; ++seed) {
    CalibrationMemory memory;
    FillRandomCalibration(memory, seed);
    const int full_scale = *memory.Scalar("FS_RPM");
    EXPECT_GE(full_scale, 6000);
    EXPECT_LE(full_scale, 12000);
    EXPECT_NE(*memory.Scalar("MAP_TYPE"), 2);  // gauge sensor: idle reads 0
    EXPECT_LE(*memory.Scalar("MAP_TYPE"), 3);
    for (const ScalarItem& item : AllScalars()) {
      EXPECT_LE(*memory.Scalar(item.key), item.width == 2 ? 0xFFFF : 0xFF);
    }
  }
}

TEST(MemorySeedTest, SeedOptionAlsoDrawsTheCalibration) {
  std::string error;
  auto line =
      ParseSimCommandLine({"--seed", "9", "--dump", "/tmp/d.set"}, &error);
  ASSERT_TRUE(line) << error;
  EXPECT_TRUE(line->options.random_calibration);
  EXPECT_EQ(line->options.seed, 9u);
  EXPECT_EQ(line->dump_path, "/tmp/d.set");
  EXPECT_FALSE(ParseSimCommandLine({"--dump"}, &error));
}

}  // namespace
}  // namespace ecu::sim

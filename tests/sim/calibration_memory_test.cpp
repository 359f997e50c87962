#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/sim/sim_command_line.h"
#include "core/calibration/catalogue.h"
#include "core/link/frame.h"
#include "sim/calibration_commands.h"
#include "sim/memory_cells.h"
#include "sim/memory_dump.h"
#include "sim/memory_seed.h"
#include "sim/virtual_ecu.h"
#include "support/temp_folder.h"
#include "support/wire_bytes.h"

namespace ecu::sim {
namespace {

using testing::Ask;
using testing::Bytes;

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
  std::vector<std::string> picked;
  for (int i : {0, 9, 10, 16, 24, 28, 29, 48, 49, 305, 345, 435}) {
    picked.push_back(lines[i]);
  }
  EXPECT_EQ(picked, (std::vector<std::string>{
                        "ACC_SEN = 50", "BAT_COMP= 38", "FS_RPM  = 10000",
                        "TMP_THRS= 243", "FUEL_B  = 16384", "COOL_DEG= -5",
                        "BAT_COMP= 38", "MNRPMDCL= 1500", "MAPM[000]=128",
                        "PTBL[000]=1", "SUPM[008]=16383", "IDLE[008]=100"}));
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

class CalibrationCommandsTest : public ::testing::Test {
 protected:
  VirtualEcu ecu_{SimOptions{}};
  CalibrationMemory& memory_ = ecu_.memory();
};

TEST_F(CalibrationCommandsTest, ByteCellReadAndWriteOnTheWire) {
  // Fuel map cell 5 holding a gain of 1.00.
  memory_.SetTableByte(0x105, 128);
  EXPECT_EQ(Ask(ecu_, Command('E', 0x05, 0x01, 0)),
            Bytes({0x02, 0x08, 0x45, 0x05, 0x01, 0x80, 0xD5, 0x00}));
  EXPECT_EQ(Ask(ecu_, Command('e', 0x05, 0x01, 160)),
            Bytes({0x02, 0x08, 0x65, 0x05, 0x01, 0xA0, 0x15, 0x01}));
  EXPECT_EQ(memory_.TableByte(0x105), 160);
  EXPECT_EQ(ByteAt(Ask(ecu_, Command('E', 0x05, 0x01, 0)), 5), 160);
}

TEST_F(CalibrationCommandsTest, AddressesOutsideEveryTableGetNoReply) {
  // A map cell's low byte without its high byte, between two curves, after
  // the ignition tables, and beyond all of them.
  for (int address : {0x0005, 0x0079, 0x0209, 0x0249, 0x0300}) {
    EXPECT_EQ(Ask(ecu_, Command('e', address & 0xFF, address >> 8, 9)), "")
        << address;
    EXPECT_EQ(Ask(ecu_, Command('E', address & 0xFF, address >> 8, 0)), "")
        << address;
    EXPECT_NE(memory_.TableByte(address), 9) << address;
  }
  // Either end of a range answers.
  EXPECT_NE(Ask(ecu_, Command('E', 0x70, 0x00, 0)), "");
  EXPECT_NE(Ask(ecu_, Command('E', 0x78, 0x00, 0)), "");
  // Word cells: one past TPSM's last cell, and below SUPM.
  EXPECT_EQ(Ask(ecu_, Command('x', 0xC5, 1, 2)), "");
  EXPECT_EQ(Ask(ecu_, Command('X', 0xA1, 0, 0)), "");
}

TEST_F(CalibrationCommandsTest, WordCellsTravelLowByteFirst) {
  EXPECT_EQ(Ask(ecu_, Command('x', 0xA2, 0x10, 0x27)),
            Bytes({0x02, 0x08, 0x78, 0xA2, 0x10, 0x27, 0x5B, 0x01}));
  EXPECT_EQ(memory_.Word(0xA2), 10000);
  const std::string read = Ask(ecu_, Command('X', 0xA2, 0, 0));
  EXPECT_EQ(read.substr(2, 4), Bytes({0x58, 0xA2, 0x10, 0x27}));
  // The neighbouring cell is untouched.
  EXPECT_EQ(memory_.Word(0xA4), 0);
}

TEST_F(CalibrationCommandsTest, PhaseTableReadWholeAndWrittenByCell) {
  EXPECT_EQ(Ask(ecu_, Command(127, 0, 0, 0)).substr(2, 9),
            Bytes({0x7F, 1, 2, 4, 8, 1, 2, 4, 8}));
  EXPECT_EQ(Ask(ecu_, Command(128, 3, 0x55, 0)),
            Bytes({0x02, 0x07, 0x80, 0x03, 0x55, 0xE1, 0x00}));
  EXPECT_EQ(memory_.PhaseCell(3), 0x55);
  // Index 8 would wrap onto cell 0: refused.
  EXPECT_EQ(Ask(ecu_, Command(128, 8, 0x77, 0)), "");
  EXPECT_EQ(memory_.PhaseCell(0), 1);
}

TEST_F(CalibrationCommandsTest, BlockBHasItsLayout) {
  memory_.SetScalar("FUEL_B", 0x4000);
  memory_.SetScalar("FUEL_MX", 0x1234);
  memory_.SetScalar("ACC_MINP", 0x0102);
  memory_.SetScalar("ACC_MAXP", 0xFFEE);
  memory_.SetScalar("BAT_COMP", 0x99);
  const std::string reply = Ask(ecu_, "B");
  ASSERT_EQ(reply.size(), 14u);
  EXPECT_TRUE(IsValidReplyFrame(reply));
  EXPECT_EQ(reply.substr(2, 10),
            Bytes({'B', 0x00, 0x40, 0x34, 0x12, 0x02, 0x01, 0xEE, 0xFF, 0x99}));
}

TEST_F(CalibrationCommandsTest, WritesEchoInTheLayoutOfTheirRead) {
  // HOT_P_PW 16.0 ms: low, high, 0 out; the same two bytes back.
  EXPECT_EQ(Ask(ecu_, Command('s', 0x10, 0x27, 0)),
            Bytes({0x02, 0x07, 0x73, 0x10, 0x27, 0xB3, 0x00}));
  EXPECT_EQ(Ask(ecu_, "S").substr(3, 2), Bytes({0x10, 0x27}));
  // TMP_THRS -13: one byte out, one byte back.
  EXPECT_EQ(Ask(ecu_, Command('w', 0xF3, 0, 0)),
            Bytes({0x02, 0x06, 0x77, 0xF3, 0x72, 0x01}));
  EXPECT_EQ(*memory_.Scalar("TMP_THRS"), 243);
}

}  // namespace
}  // namespace ecu::sim

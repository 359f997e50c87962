#include "core/firmware/firmware_file.h"

#include <gtest/gtest.h>

#include "core/firmware_rig.h"

namespace ecu {
namespace {

using Lines = std::vector<std::string>;

TEST(FirmwareFileTest, LinesWithoutTheirEnds) {
  testing::TempFolder files;
  EXPECT_EQ(ReadFirmwareLines(files.Write("a.S", "S0\r\nS1\nS2\rS9")),
            (Lines{"S0", "S1", "S2", "S9"}));
  // Blank lines are lines; LF CR is two line ends.
  EXPECT_EQ(ReadFirmwareLines(files.Write("b.S", "S0\r\n\r\nS9\n\r")),
            (Lines{"S0", "", "S9", ""}));
  EXPECT_FALSE(ReadFirmwareLines(files.Write("empty.S", "")));
  EXPECT_FALSE(ReadFirmwareLines(files.Path("missing.S")));
  EXPECT_FALSE(ReadFirmwareLines(files.Path("")));  // a folder
}

}  // namespace
}  // namespace ecu

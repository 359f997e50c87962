#include "core/firmware/firmware_file.h"

#include <gtest/gtest.h>

#include "core/firmware/loader_terminal.h"
#include "core/firmware_rig.h"

namespace ecu {
namespace {

using Lines = std::vector<std::string>;

TEST(FirmwareFileTest, EveryKindOfLineEndEndsALine) {
  testing::TempFolder files;
  EXPECT_EQ(ReadFirmwareLines(files.Write("a.S", "S0\r\nS1\r\nS9\r\n")),
            (Lines{"S0", "S1", "S9"}));
  EXPECT_EQ(ReadFirmwareLines(files.Write("b.S", "S0\nS1\rS9")),
            (Lines{"S0", "S1", "S9"}));
  // Blank lines are lines; a CR LF is one line end, LF CR two.
  EXPECT_EQ(ReadFirmwareLines(files.Write("c.S", "S0\r\n\r\nS9\n\r")),
            (Lines{"S0", "", "S9", ""}));
}

TEST(FirmwareFileTest, NothingToSendGivesNothing) {
  testing::TempFolder files;
  EXPECT_FALSE(ReadFirmwareLines(files.Write("empty.S", "")));
  EXPECT_FALSE(ReadFirmwareLines(files.Path("missing.S")));
  EXPECT_FALSE(ReadFirmwareLines(files.Path("")));  // the folder itself
}

TEST(LoaderTerminalTest, ScrollsAndWrapsInsteadOfGrowingForEver) {
  LoaderTerminal terminal;
  std::string echoed;
  terminal.set_echo([&](std::string_view text) { echoed += text; });
  terminal.Print(std::string(LoaderTerminal::kMaxLineLength + 5, '.'));
  EXPECT_EQ(terminal.lines().size(), 2u);
  EXPECT_EQ(terminal.lines()[1], ".....");
  for (size_t i = 0; i < LoaderTerminal::kMaxLines + 10; ++i) {
    terminal.NewLine();
  }
  terminal.Print("last");
  EXPECT_EQ(terminal.lines().size(), LoaderTerminal::kMaxLines);
  EXPECT_EQ(terminal.lines().back(), "last");
  // The echo cannot take text back: a clear starts a new line there.
  terminal.Clear();
  EXPECT_EQ(terminal.Text(), "");
  EXPECT_EQ(echoed.substr(echoed.size() - 5), "last\n");
}

}  // namespace
}  // namespace ecu

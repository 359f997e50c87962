#include <gtest/gtest.h>

#include "core/firmware/firmware_file.h"
#include "core/firmware/flash_utility.h"
#include "core/firmware_rig.h"
#include "support/counting_pump.h"
#include "support/scripted_prompts.h"

namespace ecu {
namespace {

using Lines = std::vector<std::string>;
using testing::FirmwareLines;
using testing::LineChunk;
using testing::RunTogether;

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

// The flash utility over an in-memory line in virtual time, the controller
// waiting in its loader. Window messages are the pump's: a test acts there
// as a user would.
template <typename Port>
struct Rig {
  Rig() : port(clock, sim::SimOptions{.loader_mode = true}) {}
  // A scripted far end instead of the virtual ECU.
  explicit Rig(testing::FarEnd far_end) : port(clock, std::move(far_end)) {}
  FlashOutcome Flash(const std::vector<std::string>& lines) {
    prompts.QueueAnswer(Answer::kOk);
    prompts.QueueFileName(files.WriteLines("FW.S", lines));
    return utility.FlashProgram();
  }
  const std::string& received() { return port.ecu()->loader().received(); }

  testing::FakeClock clock;
  Port port;
  testing::ScriptedPrompts prompts;
  testing::CountingPump pump;
  LinkState link{.port_device = "/dev/virtual"};
  FlashUtility utility{FlashPlatform{port, clock, prompts, pump}, link};
  testing::TempFolder files;
};

using FlashRig = Rig<testing::VirtualLinePort>;

void ExpectIdle(const FlashControls& c) {
  EXPECT_TRUE(c.flash_program_enabled && c.monitor_check_enabled &&
              c.exit_enabled);
  EXPECT_FALSE(c.halt_enabled);
}

TEST(FlashProgramTest, DefaultModeRunsTheRecordsTogether) {
  FlashRig rig;
  const std::vector<std::string> lines = FirmwareLines(20);
  EXPECT_EQ(rig.Flash(lines), FlashOutcome::kCompleted);
  EXPECT_EQ(rig.received(), "q" + RunTogether(lines));
  // The first line is not counted.
  EXPECT_EQ(rig.utility.controls().lines_sent, " 21");
  ASSERT_EQ(rig.prompts.texts(), std::vector<std::string>{kFlashWarning});
  EXPECT_EQ(rig.prompts.dialogs()[0].filter, "Setup Files (*.s)|");
  EXPECT_EQ(rig.prompts.dialogs()[0].initial_name, "*.S");
  // No success message: the loader's own words end the run.
  EXPECT_EQ(rig.utility.terminal().Text(),
            "Flashing controller firmware.\nPlease stand by.\n"
            "22 records, flash complete\n");
  ExpectIdle(rig.utility.controls());
}

// The bytes with the character delay are checked against ecu-cli flash and
// the sim, Halt on the window over a real port; here the delays' timing.
TEST(FlashProgramTest, DelaysPaceTheLinesAndTakeEditsMadeDuringTheRun) {
  FlashRig rig;
  const std::vector<std::string> lines = FirmwareLines(3);
  rig.utility.SetCharDelayTicked(true);
  rig.utility.SetCharDelayText("0.010");
  rig.utility.SetLineDelayTicked(true);
  rig.utility.SetLineDelayText("0.5 Sec");  // read leniently
  // A new line delay typed after the second line counts from the third.
  rig.pump.set_on_pump([&] {
    if (rig.utility.lines_counter() == 2) rig.utility.SetLineDelayText("3");
  });
  const double start = rig.clock.now();
  EXPECT_EQ(rig.Flash(lines), FlashOutcome::kCompleted);
  double least = 0.25 + 2 * 0.5 + 2 * 3;
  for (size_t i = 1; i < lines.size(); ++i) {
    least += 0.010 * static_cast<double>(lines[i].size() + 1);
  }
  EXPECT_GE(rig.clock.now() - start, least);
  EXPECT_LT(rig.clock.now() - start, least + 0.5);
}

TEST(FlashProgramTest, OnlyHaltWhileFlashingAndNoRunInsideARun) {
  FlashRig rig;
  FlashControls during;
  FlashOutcome nested = FlashOutcome::kCompleted;
  rig.pump.set_on_pump([&] {
    during = rig.utility.controls();
    nested = rig.utility.FlashProgram();
  });
  EXPECT_EQ(rig.Flash(FirmwareLines(2)), FlashOutcome::kCompleted);
  EXPECT_EQ(nested, FlashOutcome::kBusy);
  EXPECT_FALSE(during.flash_program_enabled || during.monitor_check_enabled ||
               during.exit_enabled);
  EXPECT_TRUE(during.halt_enabled);
}

TEST(FlashProgramTest, QueueOfAtMost128BytesAndTheLoadersEStopsTheRun) {
  Rig<testing::QueuedLinePort> rig;
  std::vector<std::string> lines = FirmwareLines(40);
  lines[5].back() = lines[5].back() == '0' ? '1' : '0';  // spoil a checksum
  EXPECT_EQ(rig.Flash(lines), FlashOutcome::kLoaderError);
  EXPECT_LE(rig.port.largest_queue(), 128);
  EXPECT_GT(rig.port.largest_queue(), 100);  // the wait was needed
  // Paced by the line, the utility hears the "E" a few lines on.
  EXPECT_GE(rig.utility.lines_counter(), 5);
  EXPECT_LT(rig.utility.lines_counter(), 12);
  EXPECT_EQ(rig.prompts.texts().back(), kFlashErrorMessage);
  EXPECT_EQ(rig.utility.terminal().lines().back(), "E");
}

TEST(FlashProgramTest, AnAdapterPulledDuringTheRunIsALostLine) {
  // Part way, and just after the last line, while its records are still on
  // their way: neither run may be called complete.
  for (const int pulled_after : {5, 20}) {
    Rig<testing::QueuedLinePort> rig;
    rig.pump.set_on_pump([&] {
      if (rig.utility.lines_counter() == pulled_after) {
        rig.port.Unplug("the device hung up");
      }
    });
    EXPECT_EQ(rig.Flash(FirmwareLines(19)), FlashOutcome::kLineLost)
        << pulled_after;
    EXPECT_EQ(rig.prompts.texts().back(), kFlashErrorMessage);
    ExpectIdle(rig.utility.controls());
  }
}

TEST(FlashProgramTest, EmptyOrUnreadableFileIsToldAndNothingIsSent) {
  FlashRig rig;
  for (const std::string& file :
       {rig.files.Write("EMPTY.S", ""), rig.files.Path("MISSING.S")}) {
    rig.prompts.Clear();
    rig.prompts.QueueAnswer(Answer::kOk);
    rig.prompts.QueueFileName(file);
    EXPECT_EQ(rig.utility.FlashProgram(), FlashOutcome::kBadFile);
    EXPECT_EQ(rig.prompts.texts().back(),
              "The firmware file " + file +
                  " is empty or could not be read. Nothing was sent.");
    // Still the loader's banner, not "Please stand by."
    EXPECT_EQ(rig.utility.terminal().lines().back(), "B");
    ExpectIdle(rig.utility.controls());
  }
  // Enter at the warning is Cancel, and sends nothing at all.
  EXPECT_EQ(rig.utility.FlashProgram(), FlashOutcome::kCancelled);
  EXPECT_EQ(rig.received(), "qq");
}

// A loader that answers "q" with `answer` after `seconds`.
testing::FarEnd Answers(std::string answer, double seconds) {
  return [answer, seconds](std::string_view bytes, double) {
    std::vector<LineChunk> out;
    if (bytes == "q") out.push_back({answer, seconds});
    return out;
  };
}

TEST(ReadinessCheckTest, BMustComeWithinAQuarterSecondOfARunOrActivation) {
  FlashRig late(Answers("\r\nready\n\rB", 0.3));
  EXPECT_EQ(late.Flash(FirmwareLines(1)), FlashOutcome::kNotReady);
  EXPECT_EQ(late.prompts.texts().back(), kNotReadyMessage);
  EXPECT_EQ(late.port.written(), std::vector<std::string>{"q"});
  // The late answer still shows; CR starts a line, LF is dropped.
  late.clock.Advance(0.1);
  late.utility.ReceiveLoaderOutput();
  EXPECT_EQ(late.utility.terminal().Text(), "\nready\nB");
  FlashRig in_time(Answers("B", 0.2));
  EXPECT_EQ(in_time.Flash(FirmwareLines(1)), FlashOutcome::kCompleted);
  // Activation asks too, and an "E" only matters to a run. (The "q" on
  // activation and Exit are checked on the window.)
  FlashRig rig(Answers("ERR? B", 0.01));
  rig.utility.Activate();
  rig.clock.Advance(0.1);
  rig.utility.ReceiveLoaderOutput();
  EXPECT_TRUE(rig.utility.monitor_ready());
  EXPECT_TRUE(rig.utility.flash_error());
  // The run hears the "E" again in its own check, then clears the flag.
  EXPECT_EQ(rig.Flash(FirmwareLines(1)), FlashOutcome::kCompleted);
}

}  // namespace
}  // namespace ecu

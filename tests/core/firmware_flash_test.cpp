#include <gtest/gtest.h>

#include "core/firmware/flash_utility.h"
#include "core/firmware_rig.h"

namespace ecu {
namespace {

using testing::FirmwareLines;
using testing::FlashRig;
using testing::LineChunk;
using testing::QueuedFlashRig;
using testing::RunTogether;
using testing::S1Record;

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() &&
         text.compare(text.size() - end.size(), end.size(), end) == 0;
}

void ExpectIdleButtons(const FlashControls& c) {
  EXPECT_TRUE(c.flash_program_enabled);
  EXPECT_TRUE(c.monitor_check_enabled);
  EXPECT_TRUE(c.exit_enabled);
  EXPECT_FALSE(c.halt_enabled);
}

TEST(FlashProgramTest, DefaultModeRunsTheRecordsTogether) {
  FlashRig rig;
  const std::vector<std::string> lines = FirmwareLines(20);
  const std::string file = rig.files.WriteLines("FW.S", lines);
  std::vector<std::pair<int, int>> progress;
  rig.utility.set_progress(
      [&](int done, int total) { progress.emplace_back(done, total); });

  EXPECT_EQ(rig.Flash(file), FlashOutcome::kCompleted);

  // "q", the first line as read, then every later line without a line end.
  EXPECT_EQ(rig.loader().received(), "q" + RunTogether(lines));
  EXPECT_EQ(rig.loader().good_records(), 22);
  // The first line is not counted.
  EXPECT_EQ(rig.utility.lines_counter(), 21);
  EXPECT_EQ(rig.utility.controls().lines_sent, " 21");
  EXPECT_EQ(progress.back(), std::make_pair(21, 21));
  ASSERT_EQ(rig.prompts.texts(), std::vector<std::string>{kFlashWarning});
  EXPECT_EQ(rig.prompts.shown()[0].buttons, Buttons::kOkCancel);
  ASSERT_EQ(rig.prompts.dialogs().size(), 1u);
  EXPECT_EQ(rig.prompts.dialogs()[0].filter, "Setup Files (*.s)|");
  EXPECT_EQ(rig.prompts.dialogs()[0].default_extension, "s");
  EXPECT_EQ(rig.prompts.dialogs()[0].initial_name, "*.S");
  // The loader's own words end the run; there is no success message.
  const auto& shown = rig.utility.terminal().lines();
  EXPECT_EQ(shown[0], "Flashing controller firmware.");
  EXPECT_EQ(shown[1], "Please stand by.");
  EXPECT_EQ(shown[2], "22 records, flash complete");
  EXPECT_FALSE(rig.utility.flash_error());
  ExpectIdleButtons(rig.utility.controls());
}

TEST(FlashProgramTest, CharacterDelayEndsEveryLaterLineWithCrLf) {
  FlashRig rig;
  const std::vector<std::string> lines = FirmwareLines(3);
  const std::string file = rig.files.WriteLines("FW.S", lines);
  rig.utility.SetCharDelayTicked(true);
  rig.utility.SetCharDelayText("0.010");
  rig.utility.SetLineDelayTicked(true);
  rig.utility.SetLineDelayText("0.5 Sec");  // read leniently
  const double start = rig.clock.now();

  EXPECT_EQ(rig.Flash(file), FlashOutcome::kCompleted);

  std::string expected = "q" + lines[0];
  size_t later_chars = 0;
  for (size_t i = 1; i < lines.size(); ++i) {
    expected += lines[i] + "\r\n";
    later_chars += lines[i].size();
  }
  EXPECT_EQ(rig.loader().received(), expected);
  // Each character and each CR LF is followed by 10 ms, each line by 0.5 s.
  const double least =
      0.25 + 0.010 * static_cast<double>(later_chars) + 0.010 * 4 + 0.5 * 4;
  EXPECT_GE(rig.clock.now() - start, least);
  EXPECT_LT(rig.clock.now() - start, least + 1.0);
}

TEST(FlashProgramTest, DelaysAreReadAfreshForEveryWait) {
  FlashRig rig;
  const std::string file = rig.files.WriteLines("FW.S", FirmwareLines(4));
  rig.utility.SetLineDelayTicked(true);
  rig.utility.SetLineDelayText("0");
  // The user types a new delay once the second line has gone out.
  rig.pump.set_on_pump([&] {
    if (rig.utility.lines_counter() == 2) rig.utility.SetLineDelayText("2");
  });
  std::vector<double> line_times;
  rig.utility.set_progress(
      [&](int, int) { line_times.push_back(rig.clock.now()); });
  EXPECT_EQ(rig.Flash(file), FlashOutcome::kCompleted);
  ASSERT_EQ(line_times.size(), 5u);
  EXPECT_LT(line_times[1] - line_times[0], 0.1);
  EXPECT_GE(line_times[2] - line_times[1], 2.0);
  EXPECT_GE(line_times[4] - line_times[3], 2.0);
}

TEST(FlashProgramTest, HaltStopsBeforeTheNextLine) {
  FlashRig rig;
  const std::vector<std::string> lines = FirmwareLines(10);
  const std::string file = rig.files.WriteLines("FW.S", lines);
  rig.utility.SetCharDelayTicked(true);
  // Pressed while the second line was going out; the window hears it once
  // that line is done.
  rig.pump.set_on_pump([&] {
    if (rig.utility.lines_counter() == 2) rig.utility.Halt();
  });

  EXPECT_EQ(rig.Flash(file), FlashOutcome::kHalted);

  EXPECT_EQ(rig.loader().received(),
            "q" + lines[0] + lines[1] + "\r\n" + lines[2] + "\r\n");
  EXPECT_EQ(rig.utility.lines_counter(), 2);
  EXPECT_EQ(rig.utility.controls().lines_sent, " 2");
  EXPECT_EQ(rig.prompts.texts().back(), kFlashErrorMessage);
  EXPECT_TRUE(rig.utility.flash_error());
  ExpectIdleButtons(rig.utility.controls());
}

TEST(FlashProgramTest, ButtonsWhileFlashing) {
  FlashRig rig;
  const std::string file = rig.files.WriteLines("FW.S", FirmwareLines(2));
  std::vector<FlashControls> seen;
  rig.pump.set_on_pump([&] { seen.push_back(rig.utility.controls()); });
  EXPECT_EQ(rig.Flash(file), FlashOutcome::kCompleted);
  ASSERT_FALSE(seen.empty());
  // Only "Halt Flashing" is enabled while the lines go out.
  const FlashControls& during = seen.back();
  EXPECT_FALSE(during.flash_program_enabled);
  EXPECT_FALSE(during.monitor_check_enabled);
  EXPECT_FALSE(during.exit_enabled);
  EXPECT_TRUE(during.halt_enabled);
  // A second press meanwhile does not start a run inside the run.
  FlashRig again;
  FlashOutcome nested = FlashOutcome::kCompleted;
  again.pump.set_on_pump([&] { nested = again.utility.FlashProgram(); });
  EXPECT_EQ(again.Flash(file), FlashOutcome::kCompleted);
  EXPECT_EQ(nested, FlashOutcome::kBusy);
}

TEST(FlashProgramTest, TransmitQueueHoldsAtMost128BytesBeforeEachLine) {
  QueuedFlashRig rig;
  const std::vector<std::string> lines = FirmwareLines(40);
  const std::string file = rig.files.WriteLines("FW.S", lines);
  EXPECT_EQ(rig.Flash(file), FlashOutcome::kCompleted);
  const std::vector<int>& queued = rig.port.queued_at_writes();
  ASSERT_EQ(queued.size(), lines.size() + 1);  // "q" and every line
  EXPECT_LE(*std::max_element(queued.begin(), queued.end()), 128);
  // The queue did fill: the wait was needed, not just passed.
  EXPECT_GT(*std::max_element(queued.begin(), queued.end()), 128 - 50);
  EXPECT_EQ(rig.loader().received(), "q" + RunTogether(lines));
}

TEST(FlashProgramTest, LoaderErrorEndsTheRunAfterTheCurrentLine) {
  QueuedFlashRig rig;
  std::vector<std::string> lines = FirmwareLines(40);
  lines[5].back() = lines[5].back() == '0' ? '1' : '0';  // spoil a checksum
  const std::string file = rig.files.WriteLines("FW.S", lines);

  EXPECT_EQ(rig.Flash(file), FlashOutcome::kLoaderError);

  EXPECT_EQ(rig.loader().bad_records(), 1);
  EXPECT_EQ(rig.prompts.texts().back(), kFlashErrorMessage);
  // Paced by the line, the utility hears the "E" a few lines on and stops.
  EXPECT_GE(rig.utility.lines_counter(), 5);
  EXPECT_LT(rig.utility.lines_counter(), 15);
  EXPECT_TRUE(EndsWith(rig.utility.terminal().lines().back(), "E"));
  ExpectIdleButtons(rig.utility.controls());
}

TEST(FlashProgramTest, ErrorOnTheLastRecordIsStillHeard) {
  // Nothing holds the lines back here (a terminal that takes them all at
  // once): the run ends long before the loader has read the last record.
  FlashRig rig;
  std::vector<std::string> lines = FirmwareLines(30);
  lines[30] = S1Record(0x1E0, "spoilt") + "00";  // byte count too small
  const std::string file = rig.files.WriteLines("FW.S", lines);
  EXPECT_EQ(rig.Flash(file), FlashOutcome::kLoaderError);
  EXPECT_EQ(rig.utility.lines_counter(), 31);
  EXPECT_EQ(rig.prompts.texts().back(), kFlashErrorMessage);
}

// A loader that answers "q" with "B" after a delay, and takes the rest.
testing::FarEnd AnswersAfter(double seconds) {
  return [seconds](std::string_view bytes, double) {
    std::vector<LineChunk> out;
    if (bytes == "q") out.push_back({"\r\nready\n\rB", seconds});
    return out;
  };
}

TEST(ReadinessCheckTest, LateBFailsAndAPressLaterTriesAgain) {
  FlashRig rig(AnswersAfter(0.3));
  const std::string file = rig.files.WriteLines("FW.S", FirmwareLines(1));
  EXPECT_EQ(rig.Flash(file), FlashOutcome::kNotReady);
  EXPECT_EQ(rig.prompts.texts().back(), kNotReadyMessage);
  EXPECT_TRUE(rig.prompts.dialogs().empty());
  EXPECT_EQ(rig.port.written(), std::vector<std::string>{"q"});
  ExpectIdleButtons(rig.utility.controls());
  // The late answer still shows in the terminal.
  rig.clock.Advance(0.1);
  rig.utility.ReceiveLoaderOutput();
  EXPECT_TRUE(rig.utility.monitor_ready());
  // CR starts a new line, LF is dropped.
  EXPECT_EQ(rig.utility.terminal().Text(), "\nready\nB");
}

TEST(ReadinessCheckTest, BWithinAQuarterSecondIsReady) {
  FlashRig rig(AnswersAfter(0.2));
  const std::string file = rig.files.WriteLines("FW.S", FirmwareLines(1));
  EXPECT_EQ(rig.Flash(file), FlashOutcome::kCompleted);
  EXPECT_EQ(rig.port.written().size(), 4u);  // "q" and three lines
}

TEST(FlashProgramTest, CancelSendsNothingAndChangesNothing) {
  FlashRig rig;
  rig.prompts.QueueAnswer(Answer::kCancel);
  EXPECT_EQ(rig.utility.FlashProgram(), FlashOutcome::kCancelled);
  EXPECT_TRUE(rig.port.written().empty());
  // No file chosen: a silent end after the check.
  rig.prompts.QueueAnswer(Answer::kOk);
  EXPECT_EQ(rig.utility.FlashProgram(), FlashOutcome::kCancelled);
  EXPECT_EQ(rig.prompts.texts().size(), 2u);  // the two warnings
  EXPECT_EQ(rig.loader().received(), "q");
  ExpectIdleButtons(rig.utility.controls());
}

TEST(FlashProgramTest, EmptyOrUnreadableFileIsToldAndLeavesTheUtilityIdle) {
  FlashRig rig;
  for (const std::string& file :
       {rig.files.Write("EMPTY.S", ""), rig.files.Path("MISSING.S")}) {
    rig.prompts.Clear();
    EXPECT_EQ(rig.Flash(file), FlashOutcome::kBadFile);
    ASSERT_EQ(rig.prompts.texts().size(), 2u);
    EXPECT_EQ(rig.prompts.texts()[1],
              "The firmware file " + file +
                  " is empty or could not be read. Nothing was sent.");
    // The terminal still shows the loader's banner, not "Please stand by."
    EXPECT_TRUE(EndsWith(rig.utility.terminal().Text(), "B"));
    ExpectIdleButtons(rig.utility.controls());
    EXPECT_EQ(rig.utility.controls().lines_sent, "0");
  }
  EXPECT_EQ(rig.loader().received(), "qq");
}

TEST(FlashProgramTest, LostPortEndsTheRunWithTheErrorMessage) {
  FlashRig rig;
  const std::string file = rig.files.WriteLines("FW.S", FirmwareLines(10));
  rig.utility.set_progress([&](int done, int) {
    if (done == 3) rig.port.Close();  // the adapter is pulled
  });
  EXPECT_EQ(rig.Flash(file), FlashOutcome::kLineLost);
  EXPECT_EQ(rig.utility.lines_counter(), 3);
  EXPECT_EQ(rig.prompts.texts().back(), kFlashErrorMessage);
  ExpectIdleButtons(rig.utility.controls());
}

TEST(MonitorCheckTest, ActivationAsksTheLoaderAndShowsItsAnswer) {
  FlashRig rig;
  rig.utility.Activate();
  EXPECT_FALSE(rig.utility.controls().halt_enabled);
  EXPECT_EQ(rig.port.written(), std::vector<std::string>{"q"});
  rig.clock.Advance(0.1);
  rig.utility.ReceiveLoaderOutput();
  EXPECT_TRUE(rig.utility.monitor_ready());
  EXPECT_EQ(rig.utility.terminal().Text(), "\nflash loader 1.0\nB");
  // Monitor Check clears the terminal before asking again.
  rig.utility.MonitorCheck();
  EXPECT_EQ(rig.utility.terminal().Text(), "");
}

TEST(MonitorCheckTest, AnEInTheBannerOnlyMattersToARunInProgress) {
  FlashRig rig([](std::string_view bytes, double) {
    std::vector<LineChunk> out;
    if (bytes == "q") out.push_back({"ERR? B", 0.01});
    return out;
  });
  rig.utility.MonitorCheck();
  rig.clock.Advance(0.1);
  rig.utility.ReceiveLoaderOutput();
  EXPECT_TRUE(rig.utility.flash_error());
  // The run's own check hears the "E" again, but step 6 clears the flag.
  const std::string file = rig.files.WriteLines("FW.S", FirmwareLines(1));
  EXPECT_EQ(rig.Flash(file), FlashOutcome::kCompleted);
  EXPECT_EQ(rig.prompts.texts(), std::vector<std::string>{kFlashWarning});
}

TEST(MonitorCheckTest, MissingPortIsToldAndNothingBreaks) {
  FlashRig rig;
  rig.link.port_device = "/dev/missing";
  rig.utility.Activate();
  EXPECT_EQ(rig.prompts.texts(),
            std::vector<std::string>{
                "Comm Port /dev/missing could not be opened for the flash "
                "utility."});
  rig.prompts.Clear();
  rig.prompts.QueueAnswer(Answer::kOk);
  EXPECT_EQ(rig.utility.FlashProgram(), FlashOutcome::kNoPort);
  EXPECT_TRUE(rig.port.written().empty());
  ExpectIdleButtons(rig.utility.controls());
}

TEST(FlashExitTest, ClosesThePortAndLeavesTheViewModeAtNone) {
  FlashRig rig;
  rig.console.live_window_mode = View::kMonitor;
  rig.utility.MonitorCheck();
  ASSERT_TRUE(rig.port.IsOpen());
  rig.utility.Exit();
  EXPECT_FALSE(rig.port.IsOpen());
  EXPECT_EQ(rig.console.live_window_mode, View::kNone);
}

}  // namespace
}  // namespace ecu

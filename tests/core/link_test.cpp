#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "core/link/controller_commands.h"
#include "core/link/ecu_detection.h"
#include "core/link/frame.h"
#include "core/link/link_startup.h"
#include "core/link/port_config.h"
#include "core/link/window_activation.h"
#include "core/signal.h"
#include "sim/virtual_ecu.h"
#include "support/fake_clock.h"
#include "support/link_rig.h"
#include "support/temp_folder.h"
#include "support/text.h"
#include "support/virtual_line_port.h"
#include "support/wire_bytes.h"

namespace ecu {
namespace {

namespace fs = std::filesystem;
using ::testing::_;
using testing::Bytes;
using testing::ElementsAre;
using ::testing::FieldsAre;
using testing::HasSubstr;
using testing::LineChunk;
using testing::LinkRig;
using testing::ScriptedPrompts;
using testing::TempFolder;
using Texts = std::vector<std::string>;

std::string LiveReply() { return BuildReply('A', std::string(20, '\0')); }

// A far end that answers the n-th request (0-based) with script[n], and the
// last entry for every later one.
testing::FarEnd Script(std::vector<std::vector<LineChunk>> script) {
  auto count = std::make_shared<size_t>(0);
  return [script, count](std::string_view, double) {
    const size_t n = std::min(*count, script.size() - 1);
    ++*count;
    return script[n];
  };
}

// A link whose far end plays a script (silence by default); it counts the
// "A" replies decoded and keeps the lamp's colours.
struct ScriptRig : LinkRig {
  explicit ScriptRig(std::vector<std::vector<LineChunk>> script = {{}})
      : LinkRig(Script(std::move(script))) {
    replies.Add('A', 23, [this](std::string_view) {
      ++decoded;
      return true;
    });
  }
  int decoded = 0;
  std::vector<LampColour> lamp;
  Subscription lamp_seen = link.indicators().lamp.Subscribe(
      [this](LampColour c) { lamp.push_back(c); });
};

TEST(RequestFrameTest, WireExamples) {
  EXPECT_EQ(BuildRequest("A"), Bytes({2, 8, 0x41, 0x30, 0x30, 0x30, 0xDB, 0}));
  EXPECT_EQ(BuildRequest(Command('s', 0x10, 0x27, 0x00)),
            Bytes({2, 8, 0x73, 0x10, 0x27, 0, 0xB4, 0}));
  EXPECT_EQ(BuildRequest(Command(174, 165, 0, 0)),
            Bytes({2, 8, 0xAE, 0xA5, 0, 0, 0x5D, 1}));
  EXPECT_EQ(BuildRequest(Command(174, 90, 0, 0)),
            Bytes({2, 8, 0xAE, 0x5A, 0, 0, 0x12, 1}));
  // Longer commands keep their first four characters.
  EXPECT_EQ(CommandField("abcdef"), "abcd");
  EXPECT_EQ(CommandWithWord('s', 10000), Command('s', 0x10, 0x27, 0));
}

TEST(SendCommandTest, GoodReplyIsDecodedOnceAtLineSpeed) {
  ScriptRig rig({{{LiveReply(), 0}}});
  const double start = rig.clock.now();
  EXPECT_TRUE(rig.link.SendCommand("A").answered());
  EXPECT_EQ(rig.decoded, 1);
  // Answered in the first wait: no red that no paint would show.
  EXPECT_EQ(rig.lamp, std::vector<LampColour>{LampColour::kGreen});
  EXPECT_EQ(rig.port.written(), Texts{BuildRequest("A")});
  EXPECT_TRUE(rig.prompts.shown().empty());
  // 8 request and 25 reply bytes at 10 bits each: returns on the exact count.
  EXPECT_NEAR(rig.clock.now() - start, 33 * 10.0 / 19200, 1e-6);
}

TEST(SendCommandTest, SilentEcuCostsTenAttemptsAndOneMessage) {
  ScriptRig rig;
  const double start = rig.clock.now();
  EXPECT_EQ(rig.link.SendCommand("A").result, CommandResult::kNoAnswer);
  EXPECT_EQ(rig.lamp.back(), LampColour::kRed);
  EXPECT_EQ(rig.port.written().size(), 10u);
  EXPECT_THAT(rig.prompts.shown(),
              ElementsAre(FieldsAre("Warning, comm non-response.  Maximum "
                                    "retries exceeded.   Expected 25 bytes, "
                                    "got 0",
                                    Buttons::kOk, _, _, _)));
  EXPECT_NEAR(rig.clock.now() - start, 1.25, 0.05);
  // The text counts the bytes of the last attempt.
  LinkRig cut_short(Script({{{"\x02\x19\x41", 0}}}));
  std::ignore = cut_short.link.SendCommand("F");
  EXPECT_EQ(cut_short.prompts.texts(),
            Texts{"Warning, comm non-response.  Maximum retries exceeded.   "
                  "Expected 9 bytes, got 3"});
}

TEST(SendCommandTest, DamagedUnknownOrRefusedRepliesAreRetried) {
  std::string corrupt = LiveReply();
  corrupt[corrupt.size() - 2] ^= 0x40;
  std::string corrupt_high = LiveReply();
  corrupt_high.back() ^= 0x01;  // the sum's high byte
  const std::string short_frame = BuildReply('A', std::string(19, '\0'));
  ScriptRig rig({{{corrupt, 0}},
                 {{corrupt_high, 0}},
                 {{short_frame, 0}},
                 {{LiveReply(), 0}}});
  Texts delays;
  const Subscription delays_seen = rig.link.indicators().group_delay.Subscribe(
      [&](const std::string& text) { delays.push_back(text); });
  std::ignore = rig.link.SendCommand("A");
  EXPECT_EQ(rig.decoded, 1);
  EXPECT_EQ(rig.port.written().size(), 4u);
  // The valid frame of the wrong length still counts for the interval.
  EXPECT_EQ(delays.size(), 2u);
  // An extra byte waits out the attempt and is rejected.
  ScriptRig extra({{{LiveReply() + "\x55", 0}}});
  const double extra_start = extra.clock.now();
  std::ignore = extra.link.SendCommand("A");
  EXPECT_EQ(extra.decoded, 0);
  EXPECT_EQ(extra.port.written().size(), 10u);
  EXPECT_GE(extra.clock.now() - extra_start, 1.25);
  EXPECT_THAT(extra.prompts.texts(),
              ElementsAre(HasSubstr("Expected 25 bytes, got 26")));
  // Unknown or refused replies are retried.
  LinkRig unknown(Script({{{BuildReply('Q', "\x01"), 0}}}));
  std::ignore = unknown.link.SendCommand("A");
  EXPECT_EQ(unknown.port.written().size(), 10u);
  // Unknown codes let window messages run once more per attempt.
  EXPECT_EQ(unknown.pump.count(), 20);
  // A frame its decoder refuses is retried like a damaged one.
  LinkRig refused(Script({{{BuildReply('E', Bytes({0, 3, 7})), 0}}}));
  refused.replies.Add(
      'E', 6, [](std::string_view frame) { return U16At(frame, 3) < 0x300; },
      2);
  std::ignore = refused.link.SendCommand(Command('E', 0, 3, 0));
  EXPECT_EQ(refused.port.written().size(), 10u);
  EXPECT_EQ(refused.prompts.shown().size(), 1u);
}

// A reply that answers another request (one that came late, after its
// transaction had retried) is decoded where its code and address say, but
// is not taken as the answer: a save would write the neighbour's value.
TEST(SendCommandTest, AReplyToAnotherRequestIsDecodedButNotTaken) {
  ScriptRig rig(
      {{{BuildReply('F', "\x01\x02\x03\x04"), 0}}, {{LiveReply(), 0}}});
  int f_decoded = 0;
  rig.replies.Add('F', 7, [&](std::string_view) {
    ++f_decoded;
    return true;
  });
  EXPECT_TRUE(rig.link.SendCommand("A").answered());
  EXPECT_EQ(f_decoded, 1);
  EXPECT_EQ(rig.decoded, 1);
  EXPECT_EQ(rig.port.written().size(), 2u);
  // Cell 11's late reply while cell 12 is asked for, then cell 12's.
  LinkRig cells(Script({{{BuildReply('E', Bytes({11, 1, 154})), 0}},
                        {{BuildReply('E', Bytes({12, 1, 194})), 0}}}));
  std::vector<int> values;
  cells.replies.Add(
      'E', 6,
      [&](std::string_view frame) {
        values.push_back(ByteAt(frame, 5));
        return true;
      },
      2);
  EXPECT_TRUE(cells.link.SendCommand(Command('E', 12, 1, 0)).answered());
  EXPECT_EQ(values, (std::vector<int>{154, 194}));
  EXPECT_EQ(cells.port.written().size(), 2u);
}

TEST(SendCommandTest, DemoModeAndUnknownCodesSendNothing) {
  ScriptRig rig({{{LiveReply(), 0}}});
  rig.state.demo_mode = true;
  const double start = rig.clock.now();
  EXPECT_EQ(rig.link.SendCommand("A").result, CommandResult::kDemo);
  EXPECT_TRUE(rig.port.written().empty());
  EXPECT_TRUE(rig.prompts.shown().empty());
  EXPECT_EQ(rig.clock.now(), start);
  EXPECT_EQ(rig.lamp, std::vector<LampColour>{LampColour::kRed});
  // A code without a reply length is refused loudly, before the port.
  rig.state.demo_mode = false;
  EXPECT_EQ(rig.link.SendCommand("Q").result, CommandResult::kUnknownCode);
  EXPECT_TRUE(rig.port.written().empty());
  EXPECT_EQ(rig.slips.Take().size(), 1u);
}

TEST(SendCommandTest, APortThatGoesAwayEndsTheTransactionWithItsReason) {
  ScriptRig rig;
  rig.port.Unplug("No such device", /*after_writes=*/2);
  const CommandOutcome outcome = rig.link.SendCommand("A");
  EXPECT_EQ(outcome.result, CommandResult::kPortLost);
  EXPECT_EQ(outcome.reason, "No such device");
  EXPECT_EQ(rig.port.written().size(), 2u);
  EXPECT_EQ(rig.link.unanswered(), 1);
  // No non-response message; later requests are not sent, wait for
  // nothing and still count as unanswered.
  const double lost_at = rig.clock.now();
  EXPECT_EQ(rig.link.SendCommand("A").reason, "No such device");
  EXPECT_EQ(rig.port.written().size(), 2u);
  EXPECT_EQ(rig.clock.now(), lost_at);
  EXPECT_EQ(rig.link.unanswered(), 2);
  // Without the console's loop the caller tells it. (A port reopened ends
  // the loss: the console's and ecu-cli --wait's tests.)
  EXPECT_TRUE(rig.prompts.shown().empty());
}

// Ten attempts make 1.25 s of silence: no question yet. After two silent
// seconds the question; No keeps trying and asks again two seconds on; Yes
// gives demo mode, and the non-response message is then skipped.
TEST(WatchdogTest, TwoSilentSecondsAskForDemoModeUntilYes) {
  ScriptRig rig;
  rig.state.last_receive_time = rig.clock.SecondsSinceMidnight();
  const std::string kQuestion = "Communications has failed, Run Demo mode?";
  auto questions = [&] {
    return std::ranges::count(rig.prompts.texts(), kQuestion);
  };
  std::ignore = rig.link.SendCommand("A");
  EXPECT_EQ(questions(), 0);
  rig.clock.Advance(1.0);
  rig.prompts.QueueAnswer(Answer::kNo);
  std::ignore = rig.link.SendCommand("A");
  EXPECT_EQ(questions(), 1);
  EXPECT_FALSE(rig.state.demo_mode);
  rig.clock.Advance(2.0);
  rig.prompts.Clear();
  rig.prompts.QueueAnswer(Answer::kYes);
  EXPECT_EQ(rig.link.SendCommand("A").result, CommandResult::kDemo);
  EXPECT_THAT(
      rig.prompts.shown(),
      ElementsAre(FieldsAre(kQuestion, Buttons::kYesNoCancel, _, _, 1)));
  EXPECT_TRUE(rig.state.demo_mode);
}

TEST(MidnightTest, TransactionsAcrossMidnightAndWaitsStayNormal) {
  ScriptRig rig({{{LiveReply(), 0.05}}});
  rig.clock.Advance(86399.97 - rig.clock.now());
  rig.state.last_receive_time = rig.clock.SecondsSinceMidnight();
  std::ignore = rig.link.SendCommand("A");
  EXPECT_EQ(rig.decoded, 1);
  EXPECT_EQ(rig.port.written().size(), 1u);
  EXPECT_TRUE(rig.prompts.shown().empty());
  EXPECT_LT(rig.clock.SecondsSinceMidnight(), 1.0f);
  // Elapsed times and waits stay bounded: below minus a tenth, a day has
  // passed.
  EXPECT_NEAR(ElapsedSince(86399.9f, 0.1f), 0.2f, 0.01);
  EXPECT_NEAR(ElapsedSince(10.0f, 9.95f), -0.05f, 1e-4);
  EXPECT_FLOAT_EQ(ElapsedSince(10.0f, 12.0f), 2.0f);
  EXPECT_EQ(BoundedWait(0.125), 0.125);
  EXPECT_EQ(BoundedWait(1e300), kLongestWaitSeconds);
  EXPECT_EQ(BoundedWait(-1), 0);
  EXPECT_EQ(BoundedWait(std::nan("")), 0);
  // A wait timed on seconds since midnight ends, however long it was asked
  // to be: the midnight rule cannot count a whole day.
  for (double asked : {std::nan(""), 3 * 86400.0, 86400.0 - 0.01}) {
    const double start = rig.clock.now();
    rig.link.WaitForBytes(asked, 25);
    EXPECT_LE(rig.clock.now() - start, kLongestTimedWaitSeconds + 1) << asked;
  }
}

TEST(GroupDelayTest, MeanOfSixteenIntervalsCappedAt9999Point9) {
  ScriptRig rig({{{LiveReply(), 0}}});
  rig.replies.Add('A', 23, [](std::string_view) { return true; });
  std::string shown;
  const Subscription shown_seen = rig.link.indicators().group_delay.Subscribe(
      [&](const std::string& text) { shown = text; });
  // The first interval runs from midnight: the mean is far above 10 s.
  std::ignore = rig.link.SendCommand("A");
  EXPECT_EQ(shown, "9999.9");
  for (int i = 0; i < 16; ++i) {
    rig.clock.Advance(0.1 - 33 * 10.0 / 19200);
    std::ignore = rig.link.SendCommand("A");
  }
  EXPECT_NEAR(rig.link.GroupDelayMs(), 100.0, 2.0);
}

TEST(TransactionGuardTest, AUserActionWaitsForTheLinkAndANestedRequestFails) {
  ScriptRig rig({{{LiveReply(), 0}}});
  bool nested_started_inside = false;
  bool queued = false;
  rig.pump.set_on_pump([&] {
    if (queued) return;
    queued = true;
    rig.link.RunWhenIdle([&] {
      nested_started_inside = rig.link.busy();
      std::ignore = rig.link.SendCommand("A");
    });
  });
  std::ignore = rig.link.SendCommand("A");
  EXPECT_EQ(rig.decoded, 1);
  EXPECT_FALSE(rig.link.busy());
  rig.link.RunDeferred();
  EXPECT_EQ(rig.decoded, 2);
  EXPECT_FALSE(nested_started_inside);
  EXPECT_EQ(rig.port.written().size(), 2u);
  // A request made inside one is refused, and not silently.
  rig.port.ClearWritten();
  std::optional<CommandOutcome> nested;
  rig.pump.set_on_pump([&] {
    if (!nested) nested = rig.link.SendCommand("A");
  });
  EXPECT_TRUE(rig.link.SendCommand("A").answered());
  ASSERT_TRUE(nested);
  EXPECT_EQ(nested->result, CommandResult::kNested);
  EXPECT_EQ(rig.port.written().size(), 1u);
  EXPECT_EQ(rig.slips.Take().size(), 1u);
}

// "demo" itself, and its message, are checked on the console.
TEST(StartLinkTest, OnlyTheExactWordDemoSelectsDemoModeAndPortCfgAPort) {
  TempFolder folder;
  for (const char* line : {"DEMO", "demo now", " demo", ""}) {
    LinkState state;
    ScriptedPrompts prompts;
    StartLink(line, folder.path(), state, prompts);
    EXPECT_FALSE(state.demo_mode) << line;
    EXPECT_TRUE(prompts.shown().empty());
  }
  EXPECT_EQ(CommandLineText({"demo", "x"}), "demo x");
  // port.cfg's text (none: no file), the check mark and the device it
  // gives. Outside 1..6 a number has no check mark but is still used.
  const std::tuple<const char*, int, const char*> files[] = {
      {nullptr, 0, ""},
      {"3\r\n", 3, "/dev/ttyS2"},
      {" 9 \n", 0, "/dev/ttyS8"},
      {"/dev/pts/7\n", 0, "/dev/pts/7"},
      {"0\n", 0, ""}};
  for (const auto& [text, checked, device] : files) {
    TempFolder port_folder;
    if (text != nullptr) port_folder.Write("port.cfg", text);
    LinkState state;
    ApplyPortChoice(ReadPortChoice(port_folder.path()), &state);
    EXPECT_EQ(state.checked_port_entry, checked) << device;
    EXPECT_EQ(state.port_device, device);
  }
}

TEST(PortConfigTest, SelectPortRewritesTheFileOrSaysWhyNot) {
  TempFolder folder;
  folder.Write("port.cfg", "1\n");
  LinkState state;
  ScriptedPrompts prompts;
  StartLink("", folder.path(), state, prompts);
  SelectPort(3, folder.path(), state, prompts);
  EXPECT_EQ(folder.Read("port.cfg"), "3\r\n");
  EXPECT_EQ(state.checked_port_entry, 3);
  EXPECT_EQ(state.port_device, "/dev/ttyS0");
  SelectPortDevice("/tmp/ecu", folder.path(), state, prompts);
  EXPECT_EQ(ReadPortChoice(folder.path()).device, "/tmp/ecu");
  EXPECT_TRUE(prompts.shown().empty());
  // A folder that cannot take the file is told, not passed over.
  SelectPort(2, "/nonexistent/folder", state, prompts);
  EXPECT_THAT(prompts.texts(), ElementsAre(HasSubstr("could not be saved")));
}

// port.cfg beside a program run from where it was built; for an installed
// one (its folder writable or not) in the per-user folder, made on first
// use; the environment overrides both.
TEST(PortConfigTest, FolderFollowsHowTheProgramRuns) {
  TempFolder program;
  TempFolder home;
  const std::string user = home.Path("config/ecu-console");
  ::unsetenv("ECU_CONSOLE_CONFIG_DIR");
  EXPECT_EQ(PortConfigFolder({program.path(), false, user}), program.path());
  EXPECT_FALSE(fs::exists(user));
  EXPECT_EQ(PortConfigFolder({program.path(), true, user}), user);
  EXPECT_TRUE(fs::is_directory(user));
  EXPECT_EQ(PortConfigFolder({"/nonexistent/bin", false, user}), user);
  ::setenv("ECU_CONSOLE_CONFIG_DIR", "/tmp/somewhere", 1);
  EXPECT_EQ(PortConfigFolder({program.path(), true, user}), "/tmp/somewhere");
  ::unsetenv("ECU_CONSOLE_CONFIG_DIR");
}

TEST(EnsureLinkTest, OpensOnFirstUseThenOnlyPausesAndNeverInDemoMode) {
  LinkRig rig;
  double start = 0;
  auto seconds_taken = [&] {  // by EnsureLink, the port not ready
    rig.state.port_ready = false;
    start = rig.clock.now();
    rig.link.EnsureLink();
    return rig.clock.now() - start;
  };
  rig.port.Close();
  EXPECT_NEAR(seconds_taken(), 0.2, 1e-9);
  EXPECT_TRUE(rig.port.IsOpen());
  EXPECT_TRUE(rig.state.port_ready);
  EXPECT_NEAR(seconds_taken(), 0.2, 1e-9);
  EXPECT_FALSE(rig.state.port_ready);  // an open port is left untouched
  EXPECT_FLOAT_EQ(rig.state.last_receive_time, static_cast<float>(start));
  // Demo mode never touches the port, nor waits.
  rig.port.Close();
  rig.state.demo_mode = true;
  EXPECT_EQ(seconds_taken(), 0);
  EXPECT_TRUE(rig.state.port_ready);
  EXPECT_FALSE(rig.port.IsOpen());
  EXPECT_TRUE(rig.prompts.shown().empty());
}

// A port that cannot be opened and no port chosen at all end alike.
TEST(EnsureLinkTest, MissingPortFallsBackToDemoOnce) {
  for (const char* device : {"/dev/missing", ""}) {
    LinkRig rig;
    rig.port.Close();
    rig.state.port_device = device;
    rig.link.EnsureLink();
    EXPECT_TRUE(rig.state.demo_mode);
    EXPECT_TRUE(rig.state.port_ready);
    rig.link.EnsureLink();
    EXPECT_EQ(rig.prompts.texts(),
              Texts{"Comm Port was not found, starting Demo Mode"});
  }
}

TEST(WindowActivationTest, FillsOnceUpAndIdleAndNotWhenHiddenOrGone) {
  LinkRig rig(Script({{{LiveReply(), 0}}}));
  WindowActivation activation(rig.link, rig.pump);
  Texts steps;
  activation.Shown([&] {
    steps.push_back("activate");
    activation.FillWhenIdle([&] { steps.push_back("fill"); });
  });
  EXPECT_TRUE(steps.empty());  // not before the window is up
  // Up while a transaction runs: the fill waits for it to end.
  bool posted_inside = false;
  rig.pump.set_on_pump([&] {
    if (!posted_inside) {
      posted_inside = true;
      rig.pump.RunPosted();
      EXPECT_EQ(steps, Texts{"activate"});
    }
  });
  std::ignore = rig.link.SendCommand("A");
  rig.link.RunDeferred();
  EXPECT_EQ(steps, (Texts{"activate", "fill"}));
  // A window hidden or gone meanwhile is not filled.
  int runs = 0;
  {
    WindowActivation hiding(rig.link, rig.pump);
    hiding.Shown([&] { ++runs; });
    hiding.Hidden();
    rig.pump.RunPosted();
    EXPECT_EQ(runs, 0);
    // Shown again, it activates as usual.
    hiding.Shown([&] { ++runs; });
    rig.pump.RunPosted();
    EXPECT_EQ(runs, 1);
    // Hidden while waiting for the link.
    rig.pump.set_on_pump([&] {
      hiding.FillWhenIdle([&] { ++runs; });
      hiding.Hidden();
      rig.pump.set_on_pump(nullptr);
    });
    std::ignore = rig.link.SendCommand("A");
    rig.link.RunDeferred();
    EXPECT_EQ(runs, 1);
    hiding.Shown([&] { ++runs; });
  }
  // The model went before its window was up.
  rig.pump.RunPosted();
  EXPECT_EQ(runs, 1);
}

TEST(SignalTest, AListenerThatCancelsAnotherMidEmitStopsIt) {
  Signal<> signal;
  int second_heard = 0;
  Subscription second;
  Subscription first = signal.Subscribe([&] { second.Cancel(); });
  second = signal.Subscribe([&] { ++second_heard; });
  signal.Emit();
  EXPECT_EQ(second_heard, 0);
}

using Result = PortProbe::Result;

struct ControllerRig : LinkRig {
  explicit ControllerRig(std::string frame) : LinkRig(Script({{{frame, 0}}})) {
    AddControllerReplies(replies, link, info);
  }
  ControllerInfo info;
};

// The reset's texts and bytes are checked against the sim end to end; here
// only byte three decides: 90 enables the flash utility, others say nothing.
TEST(ControllerCommandsTest, OnlyByteThreeOfTheResetReplyDecides) {
  ControllerRig ready(BuildReply(174, "\x5A"));
  ResetController(ready.link);
  EXPECT_TRUE(ready.info.flash_utility_enabled);
  EXPECT_EQ(ready.prompts.texts(),
            Texts{"The controller is now ready to re-flash."});
  ControllerRig other(BuildReply(174, "\x07"));
  ResetController(other.link);
  EXPECT_TRUE(other.prompts.shown().empty());
  EXPECT_FALSE(other.info.flash_utility_enabled);
}

TEST(ControllerCommandsTest, ReflashAsksAndCancelSendsNothing) {
  ControllerRig rig(BuildReply(174, "\x5A"));
  rig.prompts.QueueAnswer(Answer::kCancel);
  rig.port.Close();
  PrepareToReflash(rig.link);
  EXPECT_TRUE(rig.port.IsOpen());  // the link is made ready all the same
  EXPECT_TRUE(rig.port.written().empty());
  // Enter is Cancel.
  EXPECT_THAT(rig.prompts.shown(),
              ElementsAre(FieldsAre("Do you really want to stop the controller "
                                    "and re-flash its memory?",
                                    Buttons::kOkCancel, _, _, 1)));
  rig.prompts.QueueAnswer(Answer::kOk);
  PrepareToReflash(rig.link);
  ASSERT_EQ(rig.port.written().size(), 1u);
  EXPECT_EQ(rig.port.written()[0], BuildRequest(Command(174, 90, 0, 0)));
  EXPECT_TRUE(rig.info.flash_utility_enabled);
}

TEST(ControllerCommandsTest, IdentificationAndTheEgoSwitch) {
  LinkRig rig([](std::string_view request, double) {
    if (request[2] == 'R') {
      return std::vector<LineChunk>{{BuildReply('R', "\x77\x27"), 0}};
    }
    return std::vector<LineChunk>{{BuildReply('-', "\x40\xE2\x01"), 0}};
  });
  ControllerInfo info;
  AddControllerReplies(rig.replies, rig.link, info);
  const double start = rig.clock.now();
  ReadIdentification(rig.link, info);
  EXPECT_EQ(info.firmware_revision, "V1.01.03");
  EXPECT_EQ(info.serial_number, "123456");
  EXPECT_GT(rig.clock.now() - start, 0.9);  // 0.5 + 0.2 + 0.2 of pauses
  EXPECT_EQ(FirmwareRevisionText(7), "V0.00.07");
  EXPECT_EQ(FirmwareRevisionText(65535), "V6.55.35");
  // The EGO switch sends only for its two items.
  ControllerRig ego(BuildReply('D', ""));
  SwitchEgoLoop(ego.link, 1);
  SwitchEgoLoop(ego.link, 2);
  EXPECT_EQ(ego.port.written(), Texts{BuildRequest("D")});
  EXPECT_TRUE(ego.prompts.shown().empty());
}

// Ports behind one serial port object: the ECU on /dev/ecu, a silent line,
// a modem that answers everything with "OK", a busy and a forbidden port.
class DetectionTest : public ::testing::Test {
 protected:
  DetectionTest()
      : port_(clock_, [this](std::string_view bytes, double now) {
          std::vector<LineChunk> out;
          if (port_.device() == "/dev/ecu") {
            for (const sim::Transmission& t : ecu_.Receive(bytes, now)) {
              out.push_back({t.bytes, t.delay_s});
            }
          } else if (port_.device() == "/dev/modem") {
            out.push_back({"\r\nOK\r\n", 0.01});
          }
          return out;
        }) {
    port_.set_open_failure("/dev/busy", {OpenFailure::kBusy, "locked"});
    port_.set_open_failure("/dev/locked-out",
                           {OpenFailure::kNoPermission, "Permission denied"});
  }

  Detection Detect(const Texts& devices, bool stop_at_first = true) {
    DetectionOptions options;
    options.stop_at_first = stop_at_first;
    return DetectEcu(port_, clock_, devices, options);
  }

  testing::FakeClock clock_{36000.0};
  sim::VirtualEcu ecu_{{.revision = 10204, .serial_number = 70001}};
  testing::VirtualLinePort port_;
};

TEST_F(DetectionTest, TakesTheFirstWellFormedAnswerAndNamesTheRest) {
  const double start = clock_.now();
  const Detection d =
      Detect({"/dev/busy", "/dev/silent", "/dev/modem", "/dev/locked-out",
              "/dev/ecu", "/dev/never-tried"});
  std::vector<Result> results;
  for (const auto& probe : d.probes) results.push_back(probe.result);
  EXPECT_EQ(results, (std::vector<Result>{
                         Result::kBusy, Result::kSilent, Result::kNotAnEcu,
                         Result::kNoPermission, Result::kAnswered}));
  ASSERT_NE(d.found(), nullptr);
  EXPECT_EQ(d.found()->device, "/dev/ecu");
  EXPECT_EQ(d.found()->revision, 10204);
  EXPECT_EQ(d.found()->serial, 70001);
  EXPECT_FALSE(port_.IsOpen());
  // Only the silent port waits out its half second.
  EXPECT_LT(clock_.now() - start, 0.5 + 0.2);
  // The other texts are checked where the console and ecu-cli say them.
  EXPECT_EQ(ProbeText(d.probes[2], 0.5),
            "answered, but not as an ECU (0D 0A 4F 4B 0D 0A)");
  EXPECT_THAT(ProbeText(d.probes[3], 0.5), HasSubstr("dialout"));
  // Only the revision and serial requests went out: nothing is written.
  for (const std::string& frame : port_.written()) {
    EXPECT_TRUE(frame == BuildRequest("R") || frame == BuildRequest("-"));
  }
  // Without an ECU every port is tried and none found.
  const Detection none = Detect({"/dev/silent", "/dev/missing"}, false);
  ASSERT_EQ(none.probes.size(), 2u);
  EXPECT_EQ(none.probes[1].result, Result::kMissing);
  EXPECT_EQ(none.found(), nullptr);
}

TEST(DetectionCandidatesTest, TheStoredPortFirstAndNoDeviceTwice) {
  const std::vector<PresentPort> present = {
      {"/dev/ttyS0", "", "", std::nullopt, std::nullopt},
      {.device = "/dev/ttyUSB0",
       .description = "FT232R USB UART",
       .maker = "FTDI",
       .vendor_id = 0x0403,
       .product_id = 0x6001}};
  EXPECT_EQ(DetectionCandidates(present, "/dev/pts/4"),
            (Texts{"/dev/pts/4", "/dev/ttyS0", "/dev/ttyUSB0"}));
  EXPECT_EQ(DetectionCandidates(present, "/dev/ttyUSB0").size(), 2u);
  EXPECT_EQ(PortCaption(present[0]), "/dev/ttyS0");
}

}  // namespace
}  // namespace ecu

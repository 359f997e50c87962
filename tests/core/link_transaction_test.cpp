#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "core/link/frame.h"
#include "support/link_rig.h"
#include "support/text.h"
#include "support/wire_bytes.h"

namespace ecu {
namespace {

using testing::Bytes;
using testing::Contains;
using testing::LineChunk;
using testing::LinkRig;

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

const char kSilentText[] =
    "Warning, comm non-response.  Maximum retries exceeded.   Expected 25 "
    "bytes, got 0";

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
  EXPECT_EQ(rig.port.written(), std::vector<std::string>{BuildRequest("A")});
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
  ASSERT_EQ(rig.prompts.shown().size(), 1u);
  EXPECT_EQ(rig.prompts.shown()[0].text, kSilentText);
  EXPECT_EQ(rig.prompts.shown()[0].buttons, Buttons::kOk);
  EXPECT_NEAR(rig.clock.now() - start, 1.25, 0.05);
  // The text counts the bytes of the last attempt.
  LinkRig cut_short(Script({{{"\x02\x19\x41", 0}}}));
  std::ignore = cut_short.link.SendCommand("F");
  EXPECT_EQ(cut_short.prompts.texts(),
            std::vector<std::string>{"Warning, comm non-response.  Maximum "
                                     "retries exceeded.   Expected 9 bytes, "
                                     "got 3"});
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
  std::vector<std::string> delays;
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
  ASSERT_EQ(extra.prompts.shown().size(), 1u);
  EXPECT_TRUE(
      Contains(extra.prompts.shown()[0].text, "Expected 25 bytes, got 26"));
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
  ASSERT_EQ(rig.prompts.shown().size(), 1u);
  const Message& question = rig.prompts.shown()[0];
  EXPECT_EQ(question.text, kQuestion);
  EXPECT_EQ(question.buttons, Buttons::kYesNoCancel);
  EXPECT_EQ(question.default_button, 1);
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

}  // namespace
}  // namespace ecu

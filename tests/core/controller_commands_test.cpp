#include "core/link/controller_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/link/ecu_detection.h"
#include "core/link/frame.h"
#include "sim/virtual_ecu.h"
#include "support/fake_clock.h"
#include "support/link_rig.h"
#include "support/text.h"
#include "support/virtual_line_port.h"

namespace ecu {
namespace {

using testing::Contains;

using Result = PortProbe::Result;
using testing::LineChunk;
using testing::LinkRig;

testing::FarEnd Always(std::string frame) {
  return [frame](std::string_view, double) {
    return std::vector<LineChunk>{{frame, 0}};
  };
}

struct ControllerRig : LinkRig {
  explicit ControllerRig(std::string frame) : LinkRig(Always(frame)) {
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
  EXPECT_EQ(
      ready.prompts.texts(),
      std::vector<std::string>{"The controller is now ready to re-flash."});
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
  ASSERT_EQ(rig.prompts.shown().size(), 1u);
  EXPECT_EQ(rig.prompts.shown()[0].text,
            "Do you really want to stop the controller and re-flash its "
            "memory?");
  EXPECT_EQ(rig.prompts.shown()[0].buttons, Buttons::kOkCancel);
  EXPECT_EQ(rig.prompts.shown()[0].default_button, 1);  // Enter: Cancel
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
  EXPECT_EQ(ego.port.written(), std::vector<std::string>{BuildRequest("D")});
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

  Detection Detect(const std::vector<std::string>& devices,
                   bool stop_at_first = true) {
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
  EXPECT_TRUE(Contains(ProbeText(d.probes[3], 0.5), "dialout"));
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
  EXPECT_EQ(
      DetectionCandidates(present, "/dev/pts/4"),
      (std::vector<std::string>{"/dev/pts/4", "/dev/ttyS0", "/dev/ttyUSB0"}));
  EXPECT_EQ(DetectionCandidates(present, "/dev/ttyUSB0").size(), 2u);
  EXPECT_EQ(PortCaption(present[0]), "/dev/ttyS0");
}

}  // namespace
}  // namespace ecu

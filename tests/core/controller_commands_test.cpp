#include "core/link/controller_commands.h"

#include <gtest/gtest.h>

#include "core/link/frame.h"
#include "support/link_rig.h"

namespace ecu {
namespace {

using testing::LineChunk;
using testing::LinkRig;

// A far end that answers every request with one fixed frame.
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

TEST(FirmwareRevisionTest, FiveDigitsAsVersion) {
  EXPECT_EQ(FirmwareRevisionText(10103), "V1.01.03");
  EXPECT_EQ(FirmwareRevisionText(7), "V0.00.07");
  EXPECT_EQ(FirmwareRevisionText(65535), "V6.55.35");
}

TEST(ControllerCommandsTest, ResetSendsItsFrameAndTellsTheUser) {
  ControllerRig rig(BuildReply(174, "\xA5"));
  ResetController(rig.link);
  ASSERT_EQ(rig.port.written().size(), 1u);
  EXPECT_EQ(rig.port.written()[0], BuildRequest(Command(174, 165, 0, 0)));
  EXPECT_EQ(
      rig.prompts.texts(),
      std::vector<std::string>{"The controller has been succesfully reset."});
  EXPECT_FALSE(rig.info.flash_utility_enabled);
}

TEST(ControllerCommandsTest, OnlyByteThreeDecidesTheReflashReply) {
  // A reset request answered with 90 still enables the flash utility.
  ControllerRig rig(BuildReply(174, "\x5A"));
  ResetController(rig.link);
  EXPECT_TRUE(rig.info.flash_utility_enabled);
  EXPECT_EQ(
      rig.prompts.texts(),
      std::vector<std::string>{"The controller is now ready to re-flash."});
  ControllerRig other(BuildReply(174, "\x07"));
  ResetController(other.link);
  EXPECT_TRUE(other.prompts.shown().empty());
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

TEST(ControllerCommandsTest, IdentificationFillsRevisionAndSerial) {
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
  EXPECT_EQ(rig.port.written()[0], BuildRequest("R"));
  EXPECT_EQ(rig.port.written()[1], BuildRequest("-"));
  EXPECT_GT(rig.clock.now() - start, 0.9);  // 0.5 + 0.2 + 0.2 of pauses
}

TEST(ControllerCommandsTest, EgoSwitchSendsOnlyForItsTwoItems) {
  ControllerRig rig(BuildReply('D', ""));
  SwitchEgoLoop(rig.link, 1);
  SwitchEgoLoop(rig.link, 2);
  ASSERT_EQ(rig.port.written().size(), 1u);
  EXPECT_EQ(rig.port.written()[0], BuildRequest("D"));
  EXPECT_TRUE(rig.prompts.shown().empty());
}

}  // namespace
}  // namespace ecu

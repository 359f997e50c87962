#include "core/calibration/calibration_replies.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/calibration/calibration_image.h"
#include "core/calibration/field_board.h"
#include "core/link/frame.h"
#include "core/link/live_data.h"
#include "core/link/reply_table.h"
#include "support/wire_bytes.h"

namespace ecu {
namespace {

using testing::Bytes;
using Texts = std::vector<std::string>;

struct Seen {
  std::string window;
  int index;
  std::string text;
  int32_t raw;
};

// Reply frames built as the ECU sends them, handed to the registered
// decoders as the link does once a frame has passed its checks.
class CalibrationRepliesTest : public ::testing::Test {
 protected:
  CalibrationRepliesTest() {
    AddCalibrationReplies(replies_, image_, live_, board_);
  }

  // True when the reply is accepted.
  bool Feed(uint8_t code, const std::string& data) {
    const ReplyTable::Entry* entry = replies_.Find(code);
    EXPECT_NE(entry, nullptr) << int{code};
    if (entry == nullptr) return false;
    const std::string frame = BuildReply(code, data);
    // The link only decodes frames of the code's length.
    if (static_cast<int>(frame.size()) - 2 != entry->length) return false;
    return entry->decode(frame);
  }

  void Watch(std::string_view window, std::string_view field) {
    subscriptions_.push_back(
        board_.Subscribe(window, field, [this](const FieldUpdate& u) {
          seen_.push_back({std::string(u.window), u.index, u.text, u.raw});
        }));
  }
  Texts SeenTexts() const {
    Texts texts;
    for (const Seen& s : seen_) texts.push_back(s.text);
    return texts;
  }

  ReplyTable replies_;
  CalibrationImage image_;
  LiveData live_;
  FieldBoard board_;
  std::vector<FieldBoard::Subscription> subscriptions_;
  std::vector<Seen> seen_;
};

TEST_F(CalibrationRepliesTest, CellsLandInTheirTableFieldOfTheirWindow) {
  Watch(kFuelMapWindow, "map_data");
  Watch(kFuelMapWindow, "tps_pw");
  Watch(kSupplementaryWindow, "map_data");
  EXPECT_TRUE(Feed('E', Bytes({0x05, 0x01, 160})));
  EXPECT_EQ(image_.last_byte_element(), 160);
  // An address in no range is refused, but the holder still takes the value.
  EXPECT_FALSE(Feed('e', Bytes({0x00, 0x03, 77})));
  EXPECT_EQ(image_.last_byte_element(), 77);
  // Word cells round an odd address to a cell.
  EXPECT_TRUE(Feed('X', Bytes({0xB5, 0x10, 0x27})));
  EXPECT_EQ(image_.last_word_element(), 10000);
  EXPECT_FALSE(Feed('x', Bytes({0xB3, 1, 0})));  // between SUPM and TPSM
  EXPECT_EQ(image_.last_word_element(), 1);
  // The same field name on two windows stays apart.
  EXPECT_TRUE(Feed('x', Bytes({0xA4, 0xFF, 0x3F})));  // SUPM 1 = 16383
  EXPECT_EQ(SeenTexts(), (Texts{"1.25", "16.000", "100.00"}));
  EXPECT_EQ(seen_[0].index, 5);
  EXPECT_EQ(seen_[0].raw, 160);
  EXPECT_EQ(seen_[1].index, 0);
  EXPECT_EQ(seen_[2].window, kSupplementaryWindow);
  EXPECT_EQ(seen_[2].index, 1);
}

TEST_F(CalibrationRepliesTest, PhaseTableEchoLeavesTheCachedTable) {
  Watch(kConfigurationWindow, "inj_ph");
  EXPECT_TRUE(Feed(127, Bytes({1, 2, 4, 8, 16, 32, 64, 128})));
  EXPECT_EQ(image_.phase_table()[3], 8);
  EXPECT_EQ(image_.phase_table()[7], 128);
  ASSERT_EQ(seen_.size(), 8u);
  EXPECT_EQ(seen_[7].index, 7);
  EXPECT_EQ(seen_[7].raw, 128);

  EXPECT_TRUE(Feed(128, Bytes({3, 0xFF})));
  EXPECT_EQ(image_.phase_table()[3], 8);
  ASSERT_EQ(seen_.size(), 9u);
  EXPECT_EQ(seen_[8].index, 3);
  EXPECT_EQ(seen_[8].raw, 0xFF);
  EXPECT_TRUE(Feed(128, Bytes({9, 1})));  // no such row: shown nowhere
  EXPECT_EQ(seen_.size(), 9u);
}

TEST_F(CalibrationRepliesTest, FullScaleEchoRescalesAtOnce) {
  EXPECT_TRUE(Feed(125, Bytes({0x70, 0x17})));
  EXPECT_EQ(live_.FullScaleRpm, 6000);
  EXPECT_EQ(image_.scalar("FS_RPM"), 6000);
  Watch(kFuelMapWindow, "tps_rpm");
  EXPECT_TRUE(Feed('Z', Bytes({0xFF, 0x03})));
  EXPECT_EQ(SeenTexts(), Texts{"6000"});
  // A full scale of 0 is shown as it came but scales nothing: live speeds
  // keep a scale to be shown against.
  EXPECT_TRUE(Feed(125, Bytes({0, 0})));
  EXPECT_EQ(image_.scalar("FS_RPM"), 0);
  EXPECT_EQ(live_.FullScaleRpm, 6000);
}

TEST_F(CalibrationRepliesTest, GeometryAndSensorEchoesOnlyRefreshTheField) {
  image_.set_scalar("PH_2_REC", 4);
  image_.set_scalar("TRGS_PH", 1);
  image_.set_scalar("TRGS_REV", 8);
  image_.set_scalar("MAP_TYPE", 1);
  Watch(kConfigurationWindow, "phases_till_recycle");
  Watch(kConfigurationWindow, "map_type");
  EXPECT_TRUE(Feed(129, Bytes({6})));
  EXPECT_TRUE(Feed(123, Bytes({2})));
  EXPECT_TRUE(Feed(126, Bytes({12})));
  EXPECT_TRUE(Feed(130, Bytes({6})));
  EXPECT_EQ(image_.scalar("PH_2_REC"), 4);
  EXPECT_EQ(image_.scalar("TRGS_PH"), 1);
  EXPECT_EQ(image_.scalar("TRGS_REV"), 8);
  EXPECT_EQ(image_.scalar("MAP_TYPE"), 1);
  EXPECT_EQ(live_.MapSpan, 551);  // type 6 AND 3 = 2
  EXPECT_EQ(SeenTexts(), (Texts{"6", "2"}));
  EXPECT_EQ(seen_[1].raw, 6);
  // The other block items' echoes do refresh their holders.
  EXPECT_TRUE(Feed(131, Bytes({40})));
  EXPECT_EQ(image_.scalar("BAT_COMP"), 40);
}

TEST_F(CalibrationRepliesTest, SingleReadsEchoesAndSignedTemperatures) {
  Watch(kConfigurationWindow, "iac_close_steps");
  Watch(kConfigurationWindow, "temp_threshold");
  Watch(kSupplementaryWindow, "cool_thrsh");
  EXPECT_TRUE(Feed(132, Bytes({200, 0})));
  EXPECT_EQ(image_.scalar("IAC_CLOS"), 200);
  EXPECT_TRUE(Feed(133, Bytes({0xF4, 0x01})));
  EXPECT_EQ(image_.scalar("IAC_CLOS"), 500);
  // Signed temperatures keep their file forms.
  EXPECT_TRUE(Feed('w', Bytes({0xF3})));
  EXPECT_TRUE(Feed(154, Bytes({0xFB})));
  EXPECT_EQ(image_.scalar("TMP_THRS"), 243);  // the raw byte
  EXPECT_EQ(image_.scalar("COOL_DEG"), -5);   // the temperature
  EXPECT_EQ(SeenTexts(), (Texts{"200", "500", "-13", "-5"}));
  // Fields nobody watches any more are not shown.
  subscriptions_.clear();
  EXPECT_TRUE(Feed('i', Bytes({0x00, 0x02})));
  EXPECT_EQ(seen_.size(), 4u);
  EXPECT_EQ(image_.scalar("KILL_RPM"), 512);
}

TEST_F(CalibrationRepliesTest, EgoAndThrottleBlocksAndCaptures) {
  Watch(kConfigurationWindow, "EGO_type");
  Watch(kConfigurationWindow, "WB_EGO_0V_LAMBDA");
  Watch(kConfigurationWindow, "tps_base_val");
  EXPECT_TRUE(Feed(208, Bytes({0x03, 0, 143})));
  EXPECT_EQ(image_.scalar("EGO_FLGS"), 3);
  EXPECT_EQ(image_.scalar("EGO_WBV1"), 143);
  EXPECT_TRUE(Feed(212, Bytes({26, 230})));
  EXPECT_EQ(image_.scalar("TPS_FS_V"), 230);
  EXPECT_TRUE(Feed(215, Bytes({51})));
  EXPECT_EQ(image_.scalar("TPS_BASE"), 51);
  // Bit 0 (wide band), the lambda of a zero count, the two captures.
  EXPECT_EQ(SeenTexts(), (Texts{"1", "", "10.2", "20.0"}));
  EXPECT_EQ(seen_[0].raw, 1);
  EXPECT_TRUE(Feed(216, Bytes({255})));
  EXPECT_EQ(image_.scalar("TPS_FS_V"), 255);
}

TEST(FieldBoardTest, ListenersMayCancelOthersWhileBeingTold) {
  FieldBoard board;
  int first = 0;
  int second = 0;
  FieldBoard::Subscription later;
  FieldBoard::Subscription early =
      board.Subscribe("w", "f", [&](const FieldUpdate&) {
        ++first;
        later.Cancel();  // closing one window closes the other
      });
  later = board.Subscribe("w", "f", [&](const FieldUpdate&) { ++second; });
  board.Publish({"w", "f", 0, "1", 1});
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 0);
  EXPECT_TRUE(board.HasSubscriber("w", "f"));
  early.Cancel();
  EXPECT_FALSE(board.HasSubscriber("w", "f"));
}

}  // namespace
}  // namespace ecu

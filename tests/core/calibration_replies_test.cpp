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

TEST_F(CalibrationRepliesTest, PhaseEchoLeavesTheTableAndFullScaleRescales) {
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
  // The full scale's echo rescales at once.
  seen_.clear();
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

// Reads and echoes of scalars refresh their holders and the fields that
// watch them; signed temperatures keep their file forms; the echoes of the
// engine geometry and the MAP sensor only refresh the field.
TEST_F(CalibrationRepliesTest, ScalarRepliesRefreshHoldersAndWatchedFields) {
  image_.set_scalar("PH_2_REC", 4);
  image_.set_scalar("TRGS_PH", 1);
  image_.set_scalar("TRGS_REV", 8);
  image_.set_scalar("MAP_TYPE", 1);
  for (const char* field :
       {"iac_close_steps", "temp_threshold", "EGO_type", "WB_EGO_0V_LAMBDA",
        "tps_base_val", "phases_till_recycle", "map_type"}) {
    Watch(kConfigurationWindow, field);
  }
  Watch(kSupplementaryWindow, "cool_thrsh");
  struct Reply {
    uint8_t code;
    std::string data;
    const char* key;
    int32_t held;
  };
  const Reply replies[] = {
      {132, Bytes({200, 0}), "IAC_CLOS", 200},
      {133, Bytes({0xF4, 0x01}), "IAC_CLOS", 500},
      {'w', Bytes({0xF3}), "TMP_THRS", 243},  // the raw byte
      {154, Bytes({0xFB}), "COOL_DEG", -5},   // the temperature
      {131, Bytes({40}), "BAT_COMP", 40},
      {208, Bytes({0x03, 0, 143}), "EGO_WBV1", 143},
      {212, Bytes({26, 230}), "TPS_FS_V", 230},
      {215, Bytes({51}), "TPS_BASE", 51},
      {216, Bytes({255}), "TPS_FS_V", 255},
      {129, Bytes({6}), "PH_2_REC", 4},
      {123, Bytes({2}), "TRGS_PH", 1},
      {126, Bytes({12}), "TRGS_REV", 8},
      {130, Bytes({6}), "MAP_TYPE", 1},
  };
  for (const Reply& reply : replies) {
    EXPECT_TRUE(Feed(reply.code, reply.data)) << int{reply.code};
    EXPECT_EQ(image_.scalar(reply.key), reply.held) << reply.key;
  }
  EXPECT_EQ(image_.scalar("EGO_FLGS"), 3);
  EXPECT_EQ(live_.MapSpan, 551);  // type 6 AND 3 = 2
  // Bit 0 of the EGO flags (wide band), the lambda of a zero count, the two
  // throttle captures.
  EXPECT_EQ(SeenTexts(), (Texts{"200", "500", "-13", "-5", "1", "", "10.2",
                                "20.0", "6", "2"}));
  EXPECT_EQ(seen_[4].raw, 1);
  EXPECT_EQ(seen_[9].raw, 6);
  // Fields nobody watches any more are not shown.
  subscriptions_.clear();
  EXPECT_TRUE(Feed('i', Bytes({0x00, 0x02})));
  EXPECT_EQ(seen_.size(), 10u);
  EXPECT_EQ(image_.scalar("KILL_RPM"), 512);
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

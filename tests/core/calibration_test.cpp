#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/calibration/calibration_image.h"
#include "core/calibration/calibration_replies.h"
#include "core/calibration/catalogue.h"
#include "core/calibration/field_board.h"
#include "core/calibration/item_meanings.h"
#include "core/calibration/scaling.h"
#include "core/calibration/setup_file_format.h"
#include "core/calibration/setup_file_reader.h"
#include "core/calibration/setup_file_writer.h"
#include "core/link/frame.h"
#include "core/link/live_data.h"
#include "core/link/reply_table.h"
#include "sim/memory_dump.h"
#include "sim/memory_seed.h"
#include "sim/virtual_ecu.h"
#include "support/temp_folder.h"
#include "support/test_ecu.h"
#include "support/text.h"
#include "support/wire_bytes.h"

namespace ecu {
namespace {

namespace fs = std::filesystem;
using testing::Ask;
using testing::Bytes;
using testing::Contains;
using testing::ReadText;
using Texts = std::vector<std::string>;

// The scaling and display pattern of the item a key names.
std::pair<Scaling, std::string_view> ScalingOf(std::string_view key) {
  if (const TableItem* table = FindTable(key)) {
    return {table->scaling, table->format};
  }
  return {FindScalar(key)->scaling, FindScalar(key)->format};
}

// The link dispatches on the echoed code alone, so no two replies may share
// one, nor take one of the live frames or controller commands.
TEST(CatalogueTest, EveryReplyCodeBlockByteAndCellAddressHasOneItem) {
  std::set<int> codes = {'A', 'F', 152, 178, 174, 'R', '-', 'd', 'D',
                         'E', 'e', 'X', 'x', 127, 128, 215, 216};
  size_t expected = codes.size() + AllBlocks().size();
  for (const ReadBlock& block : AllBlocks()) codes.insert(block.code);
  for (const ScalarItem& item : AllScalars()) {
    codes.insert(item.write_code);
    codes.insert(item.read_code);
    expected += HasOwnRead(item) ? 2 : 1;
  }
  EXPECT_EQ(codes.size(), expected);
  // Every data byte of a block's reply, 3 .. N - 1, belongs to one item.
  for (const ReadBlock& block : AllBlocks()) {
    std::set<int> used;
    ForEachItemOfBlock(block.code, [&](const ScalarItem& item) {
      EXPECT_EQ(item.read_length, block.length) << item.key;
      for (int b = 0; b < item.width; ++b) {
        EXPECT_TRUE(used.insert(item.block_offset + b).second) << item.key;
      }
    });
    EXPECT_EQ(static_cast<int>(used.size()), block.length - 3);
    EXPECT_EQ(*used.begin(), 3);
  }
  // Table addresses follow the ranges (those outside them and the odd word
  // address 0xB5: where replies are decoded).
  EXPECT_FALSE(TableForAddress(kReadByteCell, 0x0EC));  // past EGOM 23
  // A word address between two cells: nearest, halves to even.
  EXPECT_EQ(TableForAddress(kReadWordCell, 0xB7)->index, 2);
  for (const TableItem& table : AllTables()) {
    if (table.cells == CellKind::kPhaseCell) continue;
    for (int i = 0; i < table.count; ++i) {
      const auto found =
          TableForAddress(ReadCodeOf(table), AddressOf(table, i));
      ASSERT_TRUE(found) << table.key << i;
      EXPECT_EQ(found->table, &table);
      EXPECT_EQ(found->index, i);
    }
  }
}

// Speeds against a full scale of 8000; MAPM 1.99 is 254.72; BAT_COMP takes
// whole us/V first (10 / 1.6); MIN_PRES is held to 0..1023.
TEST(ScalingTest, EntriesBecomeTheRawCountsTheEcuExpects) {
  const std::tuple<const char*, double, int64_t> entries[] = {
      {"MAPM", 1.25, 160},        {"MAPM", 1.99, 255},
      {"EGOM", 1.0, 101},         {"EGO_WBV0", 1.0, 100},
      {"EGOM", 0.5, 202},         {"IDLE", 800, 100},
      {"IGN_PCNT", 75, 64},       {"IGN_PCNT", 1, 253},
      {"FUEL_B", 0, 16384},       {"FUEL_B", -26.2144, 0},
      {"FUEL_B", 52.4288, 49152}, {"BAT_COMP", 10.4, 6},
      {"HOT_P_PW", 16.0, 10000},  {"SUPM", 100, 16383},
      {"EGO_GAIN", 1.01, 65},     {"EGO_A_LO", 0.614, 39},
      {"KILL_RPM", 8000, 1023},   {"MIN_PRES", 5, 0},
      {"MIN_PRES", 500, 1023}};
  LiveData live;
  live.FullScaleRpm = 8000;
  for (const auto& [key, value, raw] : entries) {
    EXPECT_EQ(ValueToRaw(ScalingOf(key).first, value, live), raw)
        << key << " " << value;
  }
  EXPECT_EQ(ValueToRaw(ScalingOf("TMP_THRS").first, -13, {}) & 0xFF, 243);
}

// A typed decimal whose count is exactly a half goes to the even count,
// whatever binary fractions the factor and the decimal make: the count is
// worked out from the exact factor each conversion names. The halves:
// 10.5 ms x 625 = 6562.5, 4 / 1.6 V = 2.5 and 12 / 1.6 = 7.5 us/V, speeds of
// a full scale of 2046, 5.45 x 819 / 76.3 = 58.5, (67.5 - 10) / 115 x 1023,
// 10 % x 2.55 = 25.5.
TEST(ScalingTest, ExactDecimalHalvesRoundToEvenInEveryScaling) {
  using S = Scaling;
  const std::pair<Scaling, std::vector<std::pair<double, int64_t>>> halves[] = {
      {S::kRaw, {{2.5, 2}, {3.5, 4}}},
      {S::kSignedByte, {{-2.5, -2}}},
      {S::kPulseCount, {{0.5, 0}}},
      {S::kTempThreshold, {{1.5, 2}}},
      {S::kMapType, {{2.5, 2}}},
      {S::kGain128, {{0.50390625, 64}}},
      {S::kGain64, {{0.0234375, 2}}},
      {S::kPercent64, {{2.34375, 2}}},
      {S::kEgoLambda, {{2, 50}}},
      {S::kRetardDegrees, {{0.0625, 0}, {0.1875, 2}}},
      {S::kIdleRpm, {{4, 0}, {12, 2}}},
      {S::kMilliseconds, {{10.5, 6562}, {0.0008, 0}, {0.0024, 2}}},
      {S::kDutyPercent, {{50, 8192}}},
      {S::kFuelOffset, {{0.0008, 16384}, {-0.0008, 16384}}},
      {S::kBatteryCompensation, {{4, 2}, {12, 8}}},
      {S::kRpmFraction, {{1, 0}, {3, 2}}},
      {S::kAccelRate, {{5.45, 58}, {16.35, 176}}},
      {S::kPressureFraction, {{67.5, 512}}},
      {S::kAccelSensitivity, {{0.1025, 0}, {0.3075, 2}}},
      {S::kIacPercent, {{0.048828125, 0}, {0.146484375, 2}}},
      {S::kDwellMs, {{0.0016, 0}, {0.0048, 2}}},
      {S::kDwellPercent, {{0.1953125, 256}, {0.5859375, 254}}},
      {S::kWideBandLambda, {{8, 12}, {1.6, 62}}},
      {S::kTpsPercent, {{10, 26}, {30, 76}}},
      {S::kTpsOpenLoopPercent, {{0.1953125, 0}, {0.5859375, 2}}},
  };
  LiveData live;
  live.FullScaleRpm = 2046;
  std::set<Scaling> covered;
  for (const auto& [scaling, cases] : halves) {
    covered.insert(scaling);
    for (const auto& [typed, raw] : cases) {
      EXPECT_EQ(ValueToRaw(scaling, typed, live), raw)
          << "scaling " << static_cast<int>(scaling) << ", " << typed;
    }
  }
  EXPECT_EQ(covered.size(), static_cast<size_t>(Scaling::kMapType) + 1);
}

// Speeds against a full scale of 6000; TMP_THRS -128 shown limited; no
// pattern is a plain integer; MIN_PRES in whole kPa before the pattern:
// 100 / 1023 x 115 + 10 = 21.24.
TEST(ScalingTest, RawCountsShowInTheirFieldFormats) {
  const std::tuple<const char*, int32_t, const char*> counts[] = {
      {"MAPM", 160, "1.25"},      {"IGNM", 20, "2.500"},
      {"IDLE", 255, "2040"},      {"TMP_THRS", 243, "-13"},
      {"TMP_THRS", 0x80, "-14"},  {"TMP_THRS", 127, "120"},
      {"HOT_#P", 200, "100"},     {"FUEL_B", 16384 - 328, "-0.525"},
      {"IAC_CLOS", 200, "200"},   {"MAP_TYPE", 6, "2"},
      {"KILL_RPM", 1023, "6000"}, {"MIN_PRES", 100, "21.0"}};
  LiveData live;
  live.FullScaleRpm = 6000;
  for (const auto& [key, raw, text] : counts) {
    const auto [scaling, format] = ScalingOf(key);
    EXPECT_EQ(DisplayText(scaling, format, raw, live), text)
        << key << " " << raw;
  }
}

// Calls `check` with the key, scaling, format, range and limits of every
// item of the catalogue.
template <typename Check>
void ForEachItem(Check check) {
  for (const ScalarItem& i : AllScalars()) {
    check(i.key, i.scaling, i.format, RangeOf(i), i.limits);
  }
  for (const TableItem& t : AllTables()) {
    check(t.key, t.scaling, t.format, RangeOf(t), t.limits);
  }
}

// An editor shows a limit rule's message or puts its text in the field; a
// rule without them would show an empty box or blank the field. A
// comparison tells each item's meaning. Whatever count an item holds, its
// field gets a plain number or nothing: no "Inf", "NaN" or other text.
TEST(CatalogueTest, EveryItemHasItsMeaningItsRuleTextsAndShowsNumbers) {
  const LiveData live;
  ForEachItem([&](std::string_view key, Scaling scaling,
                  std::string_view format, ItemRange range,
                  const EntryLimits& limits) {
    EXPECT_FALSE(MeaningOf(key).text.empty()) << key;
    for (const LimitRule& rule : {limits.value_low, limits.value_high,
                                  limits.raw_low, limits.raw_high}) {
      const bool needs_message = rule.action == LimitAction::kRefuse ||
                                 rule.action == LimitAction::kAsk;
      EXPECT_TRUE(!needs_message || !rule.message.empty()) << key;
      EXPECT_TRUE(rule.action != LimitAction::kReplaceText ||
                  !rule.text.empty())
          << key;
    }
    const int32_t step = range.max > 255 ? 97 : 1;
    for (int32_t raw = range.min; raw <= range.max + step; raw += step) {
      const std::string text =
          DisplayText(scaling, format, std::min(raw, range.max), live);
      ASSERT_EQ(text.find_first_not_of("-.0123456789"), std::string::npos)
          << key << " raw " << raw << ": " << text;
    }
  });
}

// The ECU and the virtual ECU share the catalogue, so a wrong code, length
// or key passes every round trip. These answers are written out by hand from
// the protocol's tables, never taken from the catalogue.
//
// An item: its setup line (the key field, then a value), the command field
// of its read and the read's reply length, the command field that line sends
// and the echo's reply length. Two-byte values are 0x1234, one-byte 0xAB.
struct KnownItem {
  const char* line;
  std::string read;
  int read_length;
  std::string write;
  int write_length;
};

constexpr int kZ = 0x30;  // '0', the filler of a command without arguments

std::string Own(int code) { return Bytes({code, kZ, kZ, kZ}); }
std::string Word(int code) { return Bytes({code, 0x34, 0x12, 0}); }
std::string Byte(int code) { return Bytes({code, 0xAB, 0, 0}); }

const KnownItem kScalars[] = {
    {"ACC_SEN = 4660", Own(0x43), 21, Word('g'), 5},
    {"ACC_RATE= 4660", Own(0x43), 21, Word('f'), 5},
    {"ACC_MINP= 4660", Own(0x42), 12, Word('h'), 5},
    {"ACC_MAXP= 4660", Own(0x42), 12, Word(' '), 5},
    {"EGO_CUT = 4660", Own('@'), 5, Word('='), 5},
    {"MIN_PRES= 4660", Own(0x43), 21, Word('p'), 5},
    {"PH_2_REC= 171", Own(0x43), 21, Byte(129), 4},
    {"TRGS_PH = 171", Own(0x43), 21, Byte(123), 4},
    {"TRGS_REV= 171", Own(0x43), 21, Byte(126), 4},
    {"BAT_COMP= 171", Own(0x42), 12, Byte(131), 4},
    {"FS_RPM  = 4660", Own(0x43), 21, Word(125), 5},
    {"KILL_RPM= 4660", Own(0x43), 21, Word('i'), 5},
    {"HOT_P_PW= 4660", Own('S'), 5, Word('s'), 5},
    {"HOT_#P  = 171", Own('T'), 4, Byte('t'), 4},
    {"CLD_P_PW= 4660", Own('U'), 5, Word('u'), 5},
    {"CLD_#P  = 171", Own('V'), 4, Byte('v'), 4},
    {"TMP_THRS= 171", Own('W'), 4, Byte('w'), 4},
    {"EGO_RATE= 171", Own(0x43), 21, Byte('c'), 4},
    {"EGO_GAIN= 171", Own('!'), 4, Byte('?'), 4},
    {"EGO_SECS= 4660", Own(0x43), 21, Word('b'), 5},
    {"EGO_A_LO= 171", Own('%'), 4, Byte('<'), 4},
    {"EGO_A_HI= 171", Own('^'), 4, Byte('>'), 4},
    {"OPTIONS = 171", Own(0x43), 21, Byte('|'), 4},
    {"MAP_TYPE= 171", Own(0x43), 21, Byte(130), 4},
    {"FUEL_B  = 4660", Own(0x42), 12, Word('o'), 5},
    {"FUEL_MX = 4660", Own(0x42), 12, Word('m'), 5},
    {"TPS_RPM = 4660", Own('Z'), 5, Word('z'), 5},
    {"SUPP_SRC= 171", Own('['), 4, Byte(']'), 4},
    {"COOL_DEG= -85", Own(153), 4, Byte(154), 4},  // degrees; -85 is 0xAB
    {"IAC_CLOS= 4660", Own(132), 5, Word(133), 5},
    {"IAC_OPEN= 4660", Own(134), 5, Word(135), 5},
    {"IAC_TPSE= 4660", Own(136), 5, Word(137), 5},
    {"IAC_TPSC= 4660", Own(138), 5, Word(139), 5},
    {"IAC_MAXR= 4660", Own(140), 5, Word(141), 5},
    {"IAC_ERRR= 4660", Own(142), 5, Word(143), 5},
    {"IAC_DEAD= 171", Own(144), 4, Byte(145), 4},
    {"IGN_FIRE= 4660", Own(146), 5, Word(147), 5},
    {"IGN_TDWL= 4660", Own(148), 5, Word(149), 5},
    {"IGN_PCNT= 171", Own(150), 4, Byte(151), 4},
    {"EGO_FLGS= 171", Own(208), 6, Byte(209), 4},
    {"EGO_WBV0= 171", Own(208), 6, Byte(210), 4},
    {"EGO_WBV1= 171", Own(208), 6, Byte(211), 4},
    {"TPS_BASE= 171", Own(212), 5, Byte(213), 4},
    {"TPS_FS_V= 171", Own(212), 5, Byte(214), 4},
    {"TPS_EGOD= 171", Own(227), 4, Byte(228), 4},
    {"TPS_DECL= 171", Own(229), 4, Byte(230), 4},
    {"MNRPMEGO= 4660", Own(231), 5, Word(232), 5},
    {"MNRPMDCL= 4660", Own(233), 5, Word(234), 5},
};

// Cell reads and the writes of their line: byte cells by low and high
// address byte, word cells by address.
std::string ReadE(int lo, int hi) { return Bytes({'E', lo, hi, 0}); }
std::string WriteE(int lo, int hi) { return Bytes({'e', lo, hi, 0xAB}); }
std::string ReadX(int at) { return Bytes({'X', at, 0, 0}); }
std::string WriteX(int at) { return Bytes({'x', at, 0x34, 0x12}); }

// The last element of each table: where its range ends.
const KnownItem kTableEnds[] = {
    {"MAPM[255]=171", ReadE(0xFF, 1), 6, WriteE(0xFF, 1), 6},
    {"PTBL[007]=171", Own(127), 11, Bytes({128, 7, 0xAB, 0}), 5},
    {"EGOM[023]=171", ReadE(0xEB, 0), 6, WriteE(0xEB, 0), 6},
    {"SUPM[008]=4660", ReadX(0xB2), 6, WriteX(0xB2), 6},
    {"TPSM[008]=4660", ReadX(0xC4), 6, WriteX(0xC4), 6},
    {"TPSP[008]=171", ReadE(0xCE, 0), 6, WriteE(0xCE, 0), 6},
    {"CLTM[008]=171", ReadE(0x78, 0), 6, WriteE(0x78, 0), 6},
    {"MATM[008]=171", ReadE(0x88, 0), 6, WriteE(0x88, 0), 6},
    {"AUXM[008]=171", ReadE(0x98, 0), 6, WriteE(0x98, 0), 6},
    {"IGNM[008]=171", ReadE(0x08, 2), 6, WriteE(0x08, 2), 6},
    {"IGNR[008]=171", ReadE(0x18, 2), 6, WriteE(0x18, 2), 6},
    {"IGNT[008]=171", ReadE(0x48, 2), 6, WriteE(0x48, 2), 6},
    {"BARG[008]=171", ReadE(0x28, 2), 6, WriteE(0x28, 2), 6},
    {"IDLE[008]=171", ReadE(0x38, 2), 6, WriteE(0x38, 2), 6},
};

int ValueOf(const KnownItem& known) {
  return std::stoi(std::string(known.line).substr(10));
}

// What the loader sends for the line, and what the virtual ECU answers to
// the read and to that write: a reply of the known length.
void ExpectLineAndReplies(sim::VirtualEcu& ecu, const KnownItem& known) {
  const SetupLineRequest request = ParseSetupLine(known.line);
  EXPECT_EQ(request.action, SetupLineRequest::Action::kSend);
  EXPECT_EQ(CommandField(request.command), known.write);
  EXPECT_EQ(Ask(ecu, known.read).size(), known.read_length + 2u);
  EXPECT_EQ(Ask(ecu, known.write).size(), known.write_length + 2u);
}

TEST(KnownAnswersTest, EveryScalarAndTheLastElementOfEveryTable) {
  sim::VirtualEcu ecu{sim::SimOptions{}};
  EXPECT_EQ(AllScalars().size(), std::size(kScalars));
  for (const KnownItem& known : kScalars) {
    const std::string key = std::string(known.line).substr(0, 8);
    SCOPED_TRACE(known.line);
    const ScalarItem* item = FindScalar(key.substr(0, key.find(' ')));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(CommandField(ScalarReadCommand(*item)), known.read);
    EXPECT_EQ(item->read_length, known.read_length);
    EXPECT_EQ(CommandField(ScalarWriteCommand(*item, ValueOf(known))),
              known.write);
    EXPECT_EQ(item->write_length, known.write_length);
    EXPECT_EQ(ScalarLine(*item, ValueOf(known)), known.line);
    ExpectLineAndReplies(ecu, known);
  }
  // The last element of every table.
  EXPECT_EQ(AllTables().size(), std::size(kTableEnds));
  for (const KnownItem& known : kTableEnds) {
    SCOPED_TRACE(known.line);
    const TableItem* table = FindTable(std::string(known.line).substr(0, 4));
    ASSERT_NE(table, nullptr);
    const int last = std::stoi(std::string(known.line).substr(5, 3));
    EXPECT_EQ(table->count, last + 1);
    EXPECT_EQ(CommandField(CellReadCommand(*table, last)), known.read);
    EXPECT_EQ(CommandField(CellWriteCommand(*table, last, ValueOf(known))),
              known.write);
    EXPECT_EQ(CellReplyLength(*table), known.write_length);
    EXPECT_EQ(TableLine(*table, last, ValueOf(known)), known.line);
    ExpectLineAndReplies(ecu, known);
  }
}

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

// The link, the image it decodes into, and a scratch folder.
class SetupFileTest : public ::testing::Test,
                      protected testing::CalibrationLinkRig {
 protected:
  SetupFileReport Load(const Texts& lines) {
    return SetupFileReader(rig.link).load(folder_.WriteLines("in.SET", lines));
  }
  Texts Written() const { return rig.port.written(); }
  long Files() const {
    return std::distance(fs::directory_iterator(folder_.path()), {});
  }

  testing::TempFolder folder_;
};

// How the loader reads one line: a command, or nothing. Keys and indexes
// come from fixed columns; a value that does not fit its item, or has no
// digit, is refused rather than sent cut down or as 0. (Every item's own
// line and write are in the catalogue's known answers.)
TEST(SetupLineTest, LinesBecomeTheirWritesOrAreRefused) {
  using Action = SetupLineRequest::Action;
  const std::string kRefused = "refused", kSkipped = "skipped";
  const std::pair<const char*, std::string> lines[] = {
      {"ACC_SEN=50", kRefused},  // the key field is "ACC_SEN="
      {"acc_sen = 50", kRefused},
      {"AB", kRefused},
      {"ACC_[000]=1", kRefused},
      {"MAPM    = 50", kSkipped},  // a table key padded like a scalar key
      {"", kSkipped},
      {"   ", kSkipped},
      {"MAPM[005]=160", Command('e', 0x05, 0x01, 160)},
      {"SUPM[000]=65535", Command('x', 0xA2, 0xFF, 0xFF)},
      // Two index digits: the value column stays at eleven.
      {"MAPM[12]= 5", Command('e', 12, 1, 5)},
      {"MAPM[12]=5", kRefused},
      {"EGO_RATE= 2.5", CommandWithByte('c', 2)},  // halves to even
      {"EGO_RATE= 3.5", CommandWithByte('c', 4)},
      {"EGO_RATE= 1 2", CommandWithByte('c', 12)},
      {"FS_RPM  = 8000 rpm", CommandWithWord(125, 8000)},  // lenient
      {"FS_RPM  = .5e4", CommandWithWord(125, 5000)},
      {"COOL_DEG= -128", Command(154, 128, 0, 0)},
      {"TMP_THRS= -13", Command('w', 243, 0, 0)},
  };
  auto read = [&](const char* line) {
    const SetupLineRequest request = ParseSetupLine(line);
    if (request.action == Action::kSend) return request.command;
    return request.action == Action::kSkip ? kSkipped : kRefused;
  };
  for (const auto& [line, expected] : lines)
    EXPECT_EQ(read(line), expected) << line;
  // Lines the writer never makes would otherwise go out cut to their
  // width, address a cell outside their table, or send 0.
  for (const char* line :
       {"MAPM[256]=1", "MAPM[-01]=1", "SUPM[009]=1", "SUPM[047]=1",
        "PTBL[008]=1", "MAPM[000]=256", "MAPM[000]=-1", "SUPM[000]=65536",
        "PTBL[000]=300", "ACC_SEN = 65536", "ACC_SEN = -1", "EGO_RATE= 256",
        "EGO_RATE= -1", "COOL_DEG= -129", "TMP_THRS= 256", "FS_RPM  = 1e9"}) {
    EXPECT_EQ(read(line), kRefused) << line;
  }
  for (const char* line : {"FUEL_MX = ", "FS_RPM  = abc", "FS_RPM  = -",
                           "EGO_RATE= x", "MAPM[000]=", "PTBL[001]= ."}) {
    EXPECT_EQ(ReadSetupLine(line).kind, SetupLine::Kind::kNoValue) << line;
    EXPECT_EQ(read(line), kRefused) << line;
  }
}

// Bytes and results of a whole load are checked end to end against the sim;
// here the progress and the pause after each line.
TEST_F(SetupFileTest, LoadTellsItsProgressAndPausesAfterEachLine) {
  std::vector<std::pair<int, int>> progress;
  SetupFileReader reader(rig.link, [&](int done, int total) {
    progress.emplace_back(done, total);
  });
  const double start = rig.clock.now();
  const SetupFileReport report = reader.load(folder_.WriteLines(
      "in.SET", {"BAT_COMP= 37", "MAPM[005]=160", "COOL_DEG= -5",
                 "BAT_COMP= 37", "PTBL[003]=129", "SUPM[001]=16383"}));
  EXPECT_TRUE(report.file_ok);
  EXPECT_EQ(report.lines, 6);
  EXPECT_EQ(Written().size(), 6u);
  EXPECT_EQ(progress.front(), std::make_pair(0, 6));
  EXPECT_EQ(progress[5], std::make_pair(5, 6));
  EXPECT_EQ(progress.back(), std::make_pair(6, 6));
  EXPECT_GE(rig.clock.now() - start, 6 * 0.005);
}

TEST_F(SetupFileTest, RefusedLinesAreToldAndUnansweredWritesCounted) {
  ecu.silent_codes = {'e'};
  const SetupFileReport report =
      Load({"ACC_SEN=50", "acc_sen = 50", "MAPM    = 1", "MAPM[256]=1",
            "EGO_RATE= 256", "", "MAPM[000]=1", "EGO_RATE= 7"});
  EXPECT_EQ(report.refused_lines, 4);
  EXPECT_EQ(report.skipped_lines, 2);  // the table key and the blank line
  EXPECT_EQ(report.unanswered, 1);
  const Texts told = rig.prompts.texts();
  ASSERT_EQ(told.size(), 5u);
  EXPECT_EQ(Texts(told.begin(), told.begin() + 4),
            Texts(4, "Unknown variable in data file"));
  EXPECT_EQ(told[4].substr(0, 26), "Warning, comm non-response");
  EXPECT_EQ(Written().size(), 10u + 1u);  // the silent write's tries, "c"
  EXPECT_EQ(Written().back(), BuildRequest(CommandWithByte('c', 7)));
  EXPECT_EQ(ecu.memory().Scalar("EGO_RATE"), 7);
}

TEST_F(SetupFileTest, LoadReadsALineAtATimeAndMayBeInterrupted) {
  // A lone CR ends a line as LF and CR LF do, and a last line without its
  // end counts; a line beyond any setup line is refused from its start.
  const std::string path = folder_.Path("long.SET");
  {
    std::ofstream out(path, std::ios::binary);
    out << "BAT_COMP= 37\rEGO_RATE= 7\r\n"
        << std::string(5000, '9') << "\n"
        << "EGO_RATE= 8";
  }
  const SetupFileReport report = SetupFileReader(rig.link).load(path);
  EXPECT_EQ(report.lines, 4);
  EXPECT_EQ(report.sent_lines, 3);
  EXPECT_EQ(report.refused_lines, 1);
  ASSERT_EQ(report.refusals.size(), 1u);
  EXPECT_EQ(report.refusals[0].line, 3);
  EXPECT_FALSE(report.interrupted);
  EXPECT_EQ(ecu.memory().Scalar("EGO_RATE"), 8);
  // An interrupted load says how many lines were applied.
  for (const auto& [stop, told] :
       {std::pair{1, "1 of 5: 1 line was"}, {3, "3 of 5: 2 lines were"}}) {
    rig.prompts.Clear();
    int asked = 0;
    const int last = stop;
    SetupFileReader reader(rig.link, {}, [&] { return ++asked > last; });
    const SetupFileReport cut = reader.load(folder_.WriteLines(
        "in.SET", {"EGO_RATE= 7", "MAPM    = 1", "BAT_COMP= 37", "EGO_RATE= 9",
                   "EGO_RATE= 10"}));
    EXPECT_TRUE(cut.interrupted);
    EXPECT_EQ(cut.lines, stop);
    EXPECT_EQ(rig.prompts.texts(), Texts{"Loading " + folder_.Path("in.SET") +
                                         " was interrupted after line " + told +
                                         " applied to the ECU."});
    EXPECT_EQ(ecu.memory().Scalar("EGO_RATE"), 7);
  }

  // A port pulled part-way sends nothing more: the load stops there and
  // says how far it got, rather than running on through lines that go
  // nowhere and ending as if it had loaded them.
  rig.prompts.Clear();
  rig.port.Unplug("Input/output error", /*after_writes=*/3);
  const SetupFileReport lost =
      Load({"EGO_RATE= 3", "EGO_RATE= 4", "EGO_RATE= 5", "EGO_RATE= 6"});
  EXPECT_TRUE(lost.interrupted);
  EXPECT_EQ(rig.prompts.texts().back(),
            "Loading " + folder_.Path("in.SET") +
                " was interrupted after line 2 of 4: 2 lines were applied to "
                "the ECU.");
  EXPECT_EQ(ecu.memory().Scalar("EGO_RATE"), 4);
}

TEST_F(SetupFileTest, SaveWritesEveryItemInFileOrderOrSaysWhyNot) {
  sim::FillRandomCalibration(ecu.memory(), 5);
  std::vector<int> steps;
  SetupFileWriter writer(rig.link, image, [&](int done, int total) {
    EXPECT_EQ(total, 441);
    steps.push_back(done);
  });
  const std::string path = folder_.Path("out.SET");
  const SetupFileReport report = writer.save(path);
  EXPECT_TRUE(report.file_ok);
  EXPECT_EQ(report.unanswered, 0);
  EXPECT_TRUE(rig.prompts.shown().empty());
  // The whole file is the virtual ECU's own dump of its memory.
  EXPECT_EQ(ReadText(path), sim::SetupFileText(ecu.memory()));
  // 31 holder reads, then one read per element outside the phase table.
  ASSERT_EQ(Written().size(), 410u);
  ASSERT_EQ(steps.size(), 441u);
  for (size_t i = 0; i < steps.size(); ++i) EXPECT_EQ(steps[i], int(i) + 1);
  // A save that cannot replace the file, or reads nothing, says so.
  fs::create_directory(folder_.Path("taken.SET"));  // a folder in the way
  EXPECT_FALSE(
      SetupFileWriter(rig.link, image).save(folder_.Path("taken.SET")).file_ok);
  ASSERT_EQ(rig.prompts.texts().size(), 1u);
  EXPECT_TRUE(Contains(rig.prompts.texts()[0], "could not be written"));
  // Demo mode reads nothing, so saves nothing.
  rig.state.demo_mode = true;
  const std::string demo = folder_.Path("demo.SET");
  EXPECT_FALSE(SetupFileWriter(rig.link, image).save(demo).file_ok);
  EXPECT_FALSE(fs::exists(demo));
  EXPECT_EQ(rig.prompts.texts().back(),
            "The setup file was not saved: the console is in demo mode and "
            "reads nothing from the ECU. The previous file is unchanged.");
}

// A save stops at the first read left unanswered after its retries, and
// leaves the old file as it was: no stale holders, no repeated element.
TEST_F(SetupFileTest, AnUnansweredReadLeavesTheOldFileAndNamesTheItem) {
  struct Case {
    std::set<int> silent;
    const char* item;
    size_t reads;  // requests written before the save gave up
  };
  for (const Case& c :
       {Case{{'B'}, "FUEL_B", 1 + 10}, Case{{'W'}, "TMP_THRS", 12 + 10},
        Case{{'X'}, "SUPM[000]", 31 + 256 + 24 + 10}}) {
    rig.port.ClearWritten();
    rig.prompts.Clear();
    ecu.silent_codes = c.silent;
    const std::string path = folder_.WriteLines("keep.SET", {"EGO_RATE= 7"});
    const SetupFileReport report = SetupFileWriter(rig.link, image).save(path);
    EXPECT_FALSE(report.file_ok);
    EXPECT_EQ(report.unanswered, 1);
    EXPECT_EQ(Written().size(), c.reads) << c.item;
    EXPECT_EQ(rig.prompts.texts().back(),
              std::string("The setup file was not saved: the ECU stopped "
                          "answering at item ") +
                  c.item + ". The previous file is unchanged.");
    EXPECT_EQ(ReadText(path), "EGO_RATE= 7\r\n");
    EXPECT_EQ(Files(), 1);  // no temporary file left behind
  }
}

}  // namespace
}  // namespace ecu

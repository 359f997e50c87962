#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "core/calibration/catalogue.h"
#include "core/calibration/scaling.h"
#include "core/link/live_data.h"

namespace ecu {
namespace {

const ScalarItem& Scalar(std::string_view key) {
  const ScalarItem* item = FindScalar(key);
  EXPECT_NE(item, nullptr) << key;
  return *item;
}
const TableItem& Table(std::string_view key) {
  const TableItem* table = FindTable(key);
  EXPECT_NE(table, nullptr) << key;
  return *table;
}

int64_t ToRaw(const ScalarItem& item, double value, const LiveData& live = {}) {
  return ValueToRaw(item.scaling, value, live);
}
int64_t ToRaw(const TableItem& table, double value) {
  return ValueToRaw(table.scaling, value, LiveData{});
}
std::string Shown(const ScalarItem& item, int32_t raw,
                  const LiveData& live = {}) {
  return DisplayText(item.scaling, item.format, raw, live);
}
std::string Shown(const TableItem& table, int32_t raw) {
  return DisplayText(table.scaling, table.format, raw, LiveData{});
}

TEST(CatalogueTest, HoldsEveryItemOnceWithItsSetupKeyField) {
  EXPECT_EQ(AllScalars().size(), 48u);
  EXPECT_EQ(AllTables().size(), 14u);
  std::set<std::string_view> keys;
  for (const ScalarItem& item : AllScalars()) {
    EXPECT_TRUE(keys.insert(item.key).second) << item.key;
    // The key padded to eight characters, then "= ".
    std::string field(item.key);
    field.resize(8, ' ');
    EXPECT_EQ(item.file_field, field + "= ");
    EXPECT_EQ(item.write_length, item.width == 2 ? 5 : 4) << item.key;
  }
  int elements = 0;
  for (const TableItem& table : AllTables()) {
    EXPECT_TRUE(keys.insert(table.key).second) << table.key;
    EXPECT_EQ(table.key.size(), 4u);
    elements += table.count;
  }
  // 49 scalar lines (BAT_COMP twice) and the table lines make 436.
  EXPECT_EQ(elements, 387);
  EXPECT_EQ(TableFileField(Table("MAPM"), 12), "MAPM[012]=");
}

TEST(CatalogueTest, EveryReplyCodeBelongsToOneItemAndNoneToTheLiveFrames) {
  // Live frames, controller commands, cells, phase table and captures.
  std::set<int> codes = {'A', 'F', 152, 178, 174, 'R', '-', 'd', 'D',
                         'E', 'e', 'X', 'x', 127, 128, 215, 216};
  const size_t fixed = codes.size();
  for (const ReadBlock& block : AllBlocks()) {
    EXPECT_TRUE(codes.insert(block.code).second) << int{block.code};
  }
  for (const ScalarItem& item : AllScalars()) {
    EXPECT_TRUE(codes.insert(item.write_code).second) << item.key;
    if (HasOwnRead(item)) {
      EXPECT_TRUE(codes.insert(item.read_code).second) << item.key;
    }
  }
  EXPECT_EQ(codes.size(), fixed + 4 + 48 + 26);
}

TEST(CatalogueTest, BlockLayoutsFitTheirReplies) {
  for (const ReadBlock& block : AllBlocks()) {
    std::set<int> used;
    ForEachItemOfBlock(block.code, [&](const ScalarItem& item) {
      EXPECT_EQ(item.read_length, block.length) << item.key;
      for (int b = 0; b < item.width; ++b) {
        EXPECT_TRUE(used.insert(item.block_offset + b).second) << item.key;
      }
    });
    // Data bytes 3 .. N-1, every one used.
    EXPECT_EQ(static_cast<int>(used.size()), block.length - 3);
    EXPECT_EQ(*used.begin(), 3);
    EXPECT_EQ(*used.rbegin(), block.length - 1);
  }
}

TEST(CatalogueTest, TableAddressesFollowTheRanges) {
  const auto cell = TableForAddress(kReadByteCell, 0x0105);
  ASSERT_TRUE(cell);
  EXPECT_EQ(cell->table->key, "MAPM");
  EXPECT_EQ(cell->index, 5);
  EXPECT_FALSE(TableForAddress(kReadByteCell, 0x0300));
  EXPECT_FALSE(TableForAddress(kReadByteCell, 0x0EC));  // after EGOM 23
  EXPECT_EQ(TableForAddress(kReadByteCell, 0x0EB)->index, 23);

  // A word address between two cells goes to the nearest, halves to even.
  EXPECT_EQ(TableForAddress(kReadWordCell, 0xB5)->table->key, "TPSM");
  EXPECT_EQ(TableForAddress(kReadWordCell, 0xB5)->index, 0);
  EXPECT_EQ(TableForAddress(kReadWordCell, 0xB7)->index, 2);
  EXPECT_EQ(TableForAddress(kReadWordCell, 0xC4)->index, 8);
  EXPECT_FALSE(TableForAddress(kReadWordCell, 0xB3));  // between the tables
  EXPECT_FALSE(TableForAddress(kReadWordCell, 0xC5));

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

TEST(ScalingTest, TableCellsConvertBothWays) {
  EXPECT_EQ(ToRaw(Table("MAPM"), 1.25), 160);
  EXPECT_EQ(Shown(Table("MAPM"), 160), "1.25");
  EXPECT_EQ(ToRaw(Table("MAPM"), 1.99), 255);  // 254.72
  EXPECT_EQ(ToRaw(Table("EGOM"), 1.0), 101);
  EXPECT_EQ(ToRaw(Table("EGOM"), 1.6), 63);
  EXPECT_EQ(ToRaw(Table("EGOM"), 0.5), 202);
  EXPECT_EQ(Shown(Table("EGOM"), 101), "1.000");
  EXPECT_EQ(ToRaw(Table("IDLE"), 800), 100);
  EXPECT_EQ(Shown(Table("IDLE"), 255), "2040");
  EXPECT_EQ(ToRaw(Table("IGNM"), 2.5), 20);
  EXPECT_EQ(Shown(Table("IGNM"), 20), "2.500");
  EXPECT_EQ(ToRaw(Table("TPSP"), 100), 64);
  EXPECT_EQ(Shown(Table("TPSP"), 32), "50.0");
  EXPECT_EQ(ToRaw(Table("SUPM"), 100), 16383);
  EXPECT_EQ(Shown(Table("SUPM"), 16383), "100.00");
  EXPECT_EQ(ToRaw(Table("TPSM"), 16.0), 10000);
  EXPECT_EQ(Shown(Table("TPSM"), 10000), "16.000");
  EXPECT_EQ(Shown(Table("CLTM"), 64), "1.000");
}

TEST(ScalingTest, ScalarEdgeCases) {
  EXPECT_EQ(ToRaw(Scalar("EGO_WBV0"), 1.0), 100);  // EGOM gives 101
  EXPECT_EQ(ToRaw(Scalar("TMP_THRS"), -13) & 0xFF, 243);
  EXPECT_EQ(Shown(Scalar("TMP_THRS"), 243), "-13");
  EXPECT_EQ(Shown(Scalar("TMP_THRS"), 0x80), "-14");  // -128 held to -14
  EXPECT_EQ(Shown(Scalar("TMP_THRS"), 127), "120");
  EXPECT_EQ(ToRaw(Scalar("IGN_PCNT"), 75), 64);
  EXPECT_EQ(ToRaw(Scalar("IGN_PCNT"), 1), 253);
  EXPECT_EQ(Shown(Scalar("IGN_PCNT"), 64), "75.0");
  EXPECT_EQ(ToRaw(Scalar("FUEL_B"), 0), 16384);
  EXPECT_EQ(ToRaw(Scalar("FUEL_B"), -26.2144), 0);
  EXPECT_EQ(ToRaw(Scalar("FUEL_B"), 52.4288), 49152);
  EXPECT_EQ(Shown(Scalar("FUEL_B"), 16384 - 328), "-0.525");
  EXPECT_EQ(ToRaw(Scalar("BAT_COMP"), 10.4), 6);  // whole us/V first
  EXPECT_EQ(ToRaw(Scalar("HOT_P_PW"), 16.0), 10000);
  EXPECT_EQ(Shown(Scalar("HOT_P_PW"), 10000), "16.000");
  EXPECT_EQ(Shown(Scalar("HOT_#P"), 200), "100");
  EXPECT_EQ(ToRaw(Scalar("EGO_GAIN"), 1.0), 64);
  EXPECT_EQ(ToRaw(Scalar("EGO_GAIN"), 1.01), 65);
  EXPECT_EQ(ToRaw(Scalar("EGO_A_LO"), 0.614), 39);
  EXPECT_EQ(ToRaw(Scalar("IGN_FIRE"), 2.0), 625);
  EXPECT_EQ(Shown(Scalar("IGN_TDWL"), 1250), "4.00");
  EXPECT_EQ(ToRaw(Scalar("ACC_SEN"), 10.25), 50);
  EXPECT_EQ(ToRaw(Scalar("TPS_BASE"), 100), 255);
  EXPECT_EQ(ToRaw(Scalar("TPS_EGOD"), 50), 128);     // /100 x 256 on the way in
  EXPECT_EQ(Shown(Scalar("TPS_EGOD"), 51), "20.0");  // /255 on the way out
  EXPECT_EQ(Shown(Scalar("IAC_TPSE"), 512), "50.0");
  EXPECT_EQ(Shown(Scalar("IAC_CLOS"), 200), "200");  // no pattern: integer
  EXPECT_EQ(Shown(Scalar("COOL_DEG"), -10), "-10");
  EXPECT_EQ(Shown(Scalar("MAP_TYPE"), 6), "2");
}

TEST(ScalingTest, SpeedAndPressureFollowTheLiveScaling) {
  LiveData live;
  live.FullScaleRpm = 8000;
  EXPECT_EQ(ToRaw(Scalar("KILL_RPM"), 8000, live), 1023);
  EXPECT_EQ(ToRaw(Scalar("KILL_RPM"), 9000, live), 1151);  // limit cuts it
  EXPECT_EQ(Shown(Scalar("KILL_RPM"), 1023, live), "8000");
  EXPECT_EQ(Shown(Scalar("TPS_RPM"), 1023, live), "8000");

  // Whole kPa before the pattern: 100 / 1023 x 115 + 10 = 21.24.
  EXPECT_EQ(Shown(Scalar("MIN_PRES"), 100, live), "21.0");
  EXPECT_EQ(ToRaw(Scalar("MIN_PRES"), 5, live), 0);  // held to 0..1023
  EXPECT_EQ(ToRaw(Scalar("MIN_PRES"), 500, live), 1023);
  live.MapSpan = 551;
  live.MapOffset = 79;
  EXPECT_EQ(Shown(Scalar("MIN_PRES"), 1023, live), "630.0");
}

TEST(ScalingTest, LambdaCountsOfZeroShowBlank) {
  EXPECT_EQ(Shown(Table("EGOM"), 0), "");
  EXPECT_EQ(Shown(Scalar("EGO_WBV0"), 0), "");
  EXPECT_EQ(Shown(Scalar("EGO_WBV1"), 0), "");
  EXPECT_EQ(Shown(Scalar("EGO_WBV1"), 100), "1.000");
  EXPECT_EQ(Shown(Scalar("EGO_WBV1"), 1), "99.999");  // the 0.00001 shows
}

// Every count an item can hold shows as a plain number (or blank), whatever
// the scaling: no "Inf", "NaN" or stray characters reach a field.
TEST(ScalingTest, EveryCountShowsAsANumber) {
  LiveData live;
  auto check = [&](Scaling scaling, std::string_view format, int32_t raw,
                   std::string_view key) {
    const std::string text = DisplayText(scaling, format, raw, live);
    EXPECT_EQ(text.find_first_not_of("-.0123456789"), std::string::npos)
        << key << " raw " << raw << " -> " << text;
  };
  for (const ScalarItem& item : AllScalars()) {
    const ItemRange range = RangeOf(item);
    for (int32_t raw = range.min; raw <= range.max;
         raw += item.width == 2 ? 97 : 1) {
      check(item.scaling, item.format, raw, item.key);
    }
    check(item.scaling, item.format, range.max, item.key);
  }
  for (const TableItem& table : AllTables()) {
    const ItemRange range = RangeOf(table);
    for (int32_t raw = range.min; raw <= range.max;
         raw += WidthOf(table) == 2 ? 97 : 1) {
      check(table.scaling, table.format, raw, table.key);
    }
  }
}

TEST(EntryLimitsTest, RulesCarryWhatTheEditorsMustShow) {
  auto check = [](const LimitRule& rule, std::string_view key) {
    if (rule.action == LimitAction::kRefuse ||
        rule.action == LimitAction::kAsk) {
      EXPECT_FALSE(rule.message.empty()) << key;
    }
    if (rule.action == LimitAction::kReplaceText) {
      EXPECT_FALSE(rule.text.empty()) << key;
    }
  };
  for (const ScalarItem& item : AllScalars()) {
    for (const LimitRule* rule :
         {&item.limits.value_low, &item.limits.value_high, &item.limits.raw_low,
          &item.limits.raw_high}) {
      check(*rule, item.key);
    }
  }
  const EntryLimits& fuel_offset = Scalar("FUEL_B").limits;
  EXPECT_EQ(fuel_offset.raw_high.action, LimitAction::kRefuse);
  EXPECT_EQ(fuel_offset.raw_high.bound, 49151);  // 49152 or more
  EXPECT_EQ(
      fuel_offset.raw_high.message,
      "The value for the Fuel Offset is too high, it will not be updated");
  const EntryLimits& min_gain = Scalar("EGO_A_LO").limits;
  EXPECT_EQ(min_gain.value_low.action, LimitAction::kReplaceText);
  EXPECT_EQ(min_gain.value_low.text, ".614");
  EXPECT_EQ(Scalar("HOT_#P").limits.value_high.message.substr(0, 50),
            "You have specified more than 1 hot priming pulse.\n");
  EXPECT_EQ(Table("EGOM").limits.value_high.message,
            "The value for an EGO Setpoint cell was too high, it will not be "
            "updated.");
}

TEST(CatalogueTest, SignedBytesTakeBothSpellingsOnTheWire) {
  EXPECT_EQ(RangeOf(Scalar("COOL_DEG")).min, -128);
  EXPECT_EQ(RangeOf(Scalar("COOL_DEG")).max, 255);
  EXPECT_EQ(RangeOf(Scalar("EGO_A_LO")).min, 0);
  EXPECT_EQ(RangeOf(Scalar("FS_RPM")).max, 65535);
  EXPECT_EQ(RangeOf(Table("SUPM")).max, 65535);
  EXPECT_EQ(RangeOf(Table("PTBL")).max, 255);
}

}  // namespace
}  // namespace ecu

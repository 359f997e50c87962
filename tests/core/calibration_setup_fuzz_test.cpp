// Random and damaged setup lines fed to the loader: whatever a file holds,
// nothing that does not fit its item may reach the ECU.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/calibration/calibration_replies.h"
#include "core/calibration/setup_file_format.h"
#include "core/calibration/setup_file_reader.h"
#include "core/link/frame.h"
#include "core/numbers/leading_number.h"
#include "core/numbers/rounding.h"
#include "support/link_rig.h"
#include "support/temp_folder.h"

namespace ecu {
namespace {

class LineMaker {
 public:
  explicit LineMaker(unsigned seed) : rng_(seed) {}

  // Well-formed lines, damaged ones and noise.
  std::string Next() {
    const int kind = Pick(10);
    if (kind == 0) return Noise();
    return kind < 4 ? WellFormed() : Damage(WellFormed());
  }

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

  char AnyChar() {
    static const std::string kAlphabet =
        "ABCDEGIMOPRSTX_#[]=-+.eE0123456789  \tamx\x01\x7F\x80\xFF";
    if (Pick(8) == 0) return '\0';
    return kAlphabet[static_cast<size_t>(Pick(int(kAlphabet.size())))];
  }

  std::string Noise() {
    std::string line(static_cast<size_t>(Pick(24)), ' ');
    for (char& c : line) c = AnyChar();
    return line;
  }

  // In range, at and beyond both ends, far beyond, halves, exponents.
  std::string Value(int min, int max) {
    const int in_range = min + Pick(max - min + 1);
    const std::string values[] = {
        std::to_string(in_range),
        std::to_string(min - 1),
        std::to_string(max + 1),
        std::to_string(min - Pick(100000)),
        std::to_string(max + Pick(100000)),
        std::to_string(in_range) + ".5",
        std::to_string(Pick(10)) + "e" + std::to_string(Pick(12))};
    return Pick(2) ? values[0] : values[Pick(7)];
  }

  std::string WellFormed() {
    if (Pick(2) == 0) {
      const auto scalars = AllScalars();
      const ScalarItem& item = scalars[static_cast<size_t>(Pick(48))];
      const ItemRange range = RangeOf(item);
      return ScalarFileField(item) + Value(range.min, range.max);
    }
    const auto tables = AllTables();
    const TableItem& table = tables[static_cast<size_t>(Pick(14))];
    const ItemRange range = RangeOf(table);
    const int index = Pick(5) == 0 ? Pick(1000) : Pick(table.count);
    return TableFileField(table, index) + Value(range.min, range.max);
  }

  // Changes, inserts or removes characters, cuts the line short or adds
  // spaces, one to three times.
  std::string Damage(std::string line) {
    for (int n = 1 + Pick(3); n > 0; --n) {
      const size_t at = static_cast<size_t>(Pick(int(line.size()) + 1));
      const int how = Pick(5);
      if (how == 0 && at < line.size()) line[at] = AnyChar();
      if (how == 1) line.insert(at, 1, AnyChar());
      if (how == 2 && at < line.size()) line.erase(at, 1);
      if (how == 3) line.resize(at);
      if (how == 4) line.insert(at, size_t(Pick(4)), ' ');
    }
    return line;
  }

  std::mt19937 rng_;
};

// The ECU echoes every write in the layout of its read.
std::vector<testing::LineChunk> Echo(std::string_view request, double) {
  const uint8_t code = ByteAt(request, 2);
  int length = kCellReplyLength;
  if (code == kWritePhaseCell) {
    length = kPhaseCellReplyLength;
  } else if (const ScalarItem* item = ScalarForWriteCode(code)) {
    length = item->write_length;
  }
  return {{BuildReply(code, request.substr(3, size_t(length) - 3))}};
}

// The number a line holds, read from column 11 as the file format says.
int64_t LineValue(const std::string& line) {
  const std::string padded = line + "     ";
  return RoundHalfEven(LeadingNumber(std::string_view(padded).substr(10)));
}
int64_t LineIndex(const std::string& line) {
  const std::string padded = line + "     ";
  return RoundHalfEven(LeadingNumber(std::string_view(padded).substr(5, 3)));
}

// Checks one request frame against the line that caused it.
void CheckWrite(const std::string& line, const std::string& frame) {
  SCOPED_TRACE("line \"" + line + "\"");
  ASSERT_EQ(frame.size(), 8u);
  ASSERT_EQ(frame, BuildRequest(frame.substr(2, 4)));
  const uint8_t code = ByteAt(frame, 2);
  const int a0 = ByteAt(frame, 3), a1 = ByteAt(frame, 4), a2 = ByteAt(frame, 5);
  ItemRange range{};
  int sent = 0;
  if (code == kWriteByteCell || code == kWriteWordCell) {
    const bool word = code == kWriteWordCell;
    const int address = word ? a0 : (a0 | a1 << 8);
    const auto cell =
        TableForAddress(word ? kReadWordCell : kReadByteCell, address);
    ASSERT_TRUE(cell);
    EXPECT_EQ(AddressOf(*cell->table, cell->index), address);
    EXPECT_EQ(line.substr(0, 4), cell->table->key);
    EXPECT_EQ(LineIndex(line), cell->index);
    range = RangeOf(*cell->table);
    sent = word ? (a1 | a2 << 8) : a2;
  } else if (code == kWritePhaseCell) {
    EXPECT_EQ(line.substr(0, 4), "PTBL");
    EXPECT_LT(a0, 8);
    EXPECT_EQ(LineIndex(line), a0);
    EXPECT_EQ(a2, 0);
    range = RangeOf(*FindTable("PTBL"));
    sent = a1;
  } else {
    const ScalarItem* item = ScalarForWriteCode(code);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(line.substr(0, 10).substr(0, item->key.size()), item->key);
    range = RangeOf(*item);
    sent = item->width == 2 ? (a0 | a1 << 8) : a0;
    EXPECT_EQ(a2, 0);
    if (item->width == 1) {
      EXPECT_EQ(a1, 0);
    }
  }
  const int64_t value = LineValue(line);
  EXPECT_GE(value, range.min);
  EXPECT_LE(value, range.max);
  EXPECT_EQ(value & (range.max > 255 ? 0xFFFF : 0xFF), sent);
}

TEST(SetupFileFuzzTest, NothingOutsideAnItemsWidthReachesTheEcu) {
  LineMaker maker(20080914);
  std::vector<std::string> lines;
  for (int i = 0; i < 6000; ++i) lines.push_back(maker.Next());

  testing::TempFolder folder;
  const std::string path = folder.WriteLines("fuzz.SET", lines);
  testing::LinkRig rig(Echo);
  CalibrationImage image;
  LiveData live;
  FieldBoard board;
  AddCalibrationReplies(rig.replies, image, live, board);

  // Frames written before each line, and at the end.
  std::vector<size_t> frames_before;
  SetupFileReader reader(rig.link, [&](int, int) {
    frames_before.push_back(rig.port.written().size());
  });
  const SetupFileReport report = reader.load(path);

  ASSERT_EQ(frames_before.size(), lines.size() + 1);
  const std::vector<std::string>& written = rig.port.written();
  int sending_lines = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const size_t frames = frames_before[i + 1] - frames_before[i];
    ASSERT_LE(frames, 1u) << lines[i];
    if (frames == 1) {
      ++sending_lines;
      CheckWrite(lines[i], written[frames_before[i]]);
    }
  }
  EXPECT_EQ(report.unanswered, 0);
  EXPECT_EQ(report.lines, 6000);
  EXPECT_EQ(sending_lines + report.refused_lines + report.skipped_lines, 6000);
  EXPECT_EQ(static_cast<int>(rig.prompts.shown().size()), report.refused_lines);
  // The mix exercises every outcome.
  EXPECT_GT(sending_lines, 1000);
  EXPECT_GT(report.refused_lines, 1000);
  EXPECT_GT(report.skipped_lines, 0);
}

}  // namespace
}  // namespace ecu

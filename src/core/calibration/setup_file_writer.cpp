#include "core/calibration/setup_file_writer.h"

#include "core/calibration/setup_file_format.h"
#include "core/link/frame.h"
#include "core/text_file.h"

namespace ecu {
namespace {

constexpr double kReadPause = 0.1;

// The reads that refresh every scalar holder and the phase table, in the
// order a save makes them.
constexpr uint8_t kHolderReads[] = {'C', 'B', '@', '!', '%', '^', 'Z', '[',
                                    'S', 'T', 'U', 'V', 'W', 127, 132, 134,
                                    136, 138, 140, 142, 144, 146, 148, 150,
                                    153, 208, 212, 227, 229, 231, 233};

// The scalar lines before SUPP_SRC are not counted as progress steps.
constexpr std::string_view kFirstCountedLine = "SUPP_SRC";

int ReplyLengthOfRead(uint8_t code) {
  if (code == kReadPhaseTable) return kPhaseTableReplyLength;
  for (const ReadBlock& block : AllBlocks()) {
    if (block.code == code) return block.length;
  }
  const ScalarItem* item = ScalarForOwnReadCode(code);
  return item == nullptr ? 0 : item->read_length;
}

}  // namespace

SetupFileWriter::SetupFileWriter(EcuLink& link, CalibrationImage& image,
                                 SetupProgress progress)
    : link_(link), image_(image), progress_(std::move(progress)) {}

void SetupFileWriter::Step() {
  ++steps_done_;
  if (progress_) progress_(steps_done_, kProgressSteps);
}

void SetupFileWriter::RefreshHolders(SetupFileReport& report) {
  for (uint8_t code : kHolderReads) {
    link_.Pause(kReadPause);
    if (!SendAndCheck(link_, image_, std::string(1, static_cast<char>(code)),
                      ReplyLengthOfRead(code))) {
      ++report.unanswered;
    }
    Step();
  }
}

int SetupFileWriter::ReadElement(const TableItem& table, int index,
                                 SetupFileReport& report) {
  if (table.cells == CellKind::kPhaseCell) {
    return image_.phase_table()[static_cast<size_t>(index)];
  }
  const int address = AddressOf(table, index);
  const bool word = table.cells == CellKind::kWordCell;
  const std::string command =
      word ? Command(kReadWordCell, address, 0, 0)
           : Command(kReadByteCell, address & 0xFF, address >> 8, 0);
  if (!SendAndCheck(link_, image_, command, kCellReplyLength)) {
    ++report.unanswered;
  }
  return word ? image_.last_word_element() : image_.last_byte_element();
}

SetupFileReport SetupFileWriter::save(const std::string& path) {
  SetupFileReport report;
  steps_done_ = 0;
  ReplacingFile file(path);
  if (!file.is_open()) {
    link_.prompts().Tell("The setup file " + path + " could not be created.");
    return report;
  }
  RefreshHolders(report);

  bool counted = false;
  for (std::string_view key : SetupScalarOrder()) {
    const ScalarItem& item = *FindScalar(key);
    file.Write(ScalarLine(item, image_.scalar(item)) +
               std::string(kSetupLineEnd));
    ++report.lines;
    counted = counted || key == kFirstCountedLine;
    if (counted) Step();
  }
  for (const TableItem& table : AllTables()) {
    for (int i = 0; i < table.count; ++i) {
      const int value = ReadElement(table, i, report);
      file.Write(TableLine(table, i, value) + std::string(kSetupLineEnd));
      ++report.lines;
      Step();
    }
  }
  report.file_ok = file.Commit();
  if (!report.file_ok) {
    link_.prompts().Tell("The setup file " + path +
                         " could not be written; any earlier file of that "
                         "name is unchanged.");
  }
  Step();
  return report;
}

}  // namespace ecu

#include "core/calibration/setup_file_writer.h"

#include "core/calibration/setup_file_format.h"
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

void SetupFileWriter::RefreshHolders() {
  for (uint8_t code : kHolderReads) {
    link_.Pause(kReadPause);
    link_.SendCommand(std::string(1, static_cast<char>(code)),
                      ReplyLengthOfRead(code));
    Step();
  }
}

int SetupFileWriter::ReadElement(const TableItem& table, int index) {
  if (table.cells == CellKind::kPhaseCell) {
    return image_.phase_table()[static_cast<size_t>(index)];
  }
  link_.SendCommand(CellReadCommand(table, index), CellReplyLength(table));
  return table.cells == CellKind::kWordCell ? image_.last_word_element()
                                            : image_.last_byte_element();
}

SetupFileReport SetupFileWriter::save(const std::string& path) {
  SetupFileReport report;
  steps_done_ = 0;
  ReplacingFile file(path);
  if (!file.is_open()) {
    link_.prompts().Tell("The setup file " + path + " could not be created.");
    return report;
  }
  const int unanswered_before = link_.unanswered();
  RefreshHolders();

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
      const int value = ReadElement(table, i);
      file.Write(TableLine(table, i, value) + std::string(kSetupLineEnd));
      ++report.lines;
      Step();
    }
  }
  report.unanswered = link_.unanswered() - unanswered_before;
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

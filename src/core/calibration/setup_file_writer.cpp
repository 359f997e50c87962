#include "core/calibration/setup_file_writer.h"

#include "core/calibration/calibration_reads.h"
#include "core/calibration/setup_file_format.h"
#include "core/text_file.h"

namespace ecu {
namespace {

// The scalar lines before SUPP_SRC are not counted as progress steps.
constexpr std::string_view kFirstCountedLine = "SUPP_SRC";

}  // namespace

SetupFileWriter::SetupFileWriter(EcuLink& link, CalibrationImage& image,
                                 SetupProgress progress)
    : link_(link), image_(image), progress_(std::move(progress)) {}

void SetupFileWriter::Step() {
  ++steps_done_;
  if (progress_) progress_(steps_done_, kProgressSteps);
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
  CalibrationReads reads(link_, image_);
  reads.RefreshHolders([this] {
    Step();
    return true;
  });

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
      // An unanswered read leaves the line with the holder's last value.
      const int value = reads.ElementHolder(table, i);
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

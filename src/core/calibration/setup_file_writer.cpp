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
                                 SetupProgress progress, SetupStop stop)
    : link_(link),
      image_(image),
      progress_(std::move(progress)),
      stop_(std::move(stop)) {}

void SetupFileWriter::NotSaved(const std::string& reason) {
  link_.prompts().Tell("The setup file was not saved: " + reason +
                       ". The previous file is unchanged.");
}

void SetupFileWriter::Step() {
  ++steps_done_;
  if (progress_) progress_(steps_done_, kProgressSteps);
}

SetupFileReport SetupFileWriter::save(const std::string& path) {
  SetupFileReport report;
  steps_done_ = 0;
  // Nobody would answer: the file would hold whatever the holders held.
  if (link_.state().demo_mode) {
    NotSaved("the console is in demo mode and reads nothing from the ECU");
    return report;
  }
  ReplacingFile file(path);
  if (!file.is_open()) {
    link_.prompts().Tell("The setup file " + path + " could not be created (" +
                         file.open_error() + ").");
    return report;
  }
  const int unanswered_before = link_.unanswered();
  CalibrationReads reads(link_, image_);
  bool interrupted = false;
  const auto go_on = [&] {
    interrupted = interrupted || StopRequested();
    return reads.first_unanswered().empty() && !interrupted;
  };
  reads.RefreshHolders([&] {
    Step();
    return go_on();
  });

  bool counted = false;
  for (std::string_view key : SetupScalarOrder()) {
    if (!go_on()) break;
    const ScalarItem& item = *FindScalar(key);
    file.Write(ScalarLine(item, image_.scalar(item)) +
               std::string(kSetupLineEnd));
    ++report.lines;
    counted = counted || key == kFirstCountedLine;
    if (counted) Step();
  }
  for (const TableItem& table : AllTables()) {
    for (int i = 0; i < table.count && go_on(); ++i) {
      const std::optional<int32_t> value = reads.ReadElement(table, i);
      if (!value) break;
      file.Write(TableLine(table, i, *value) + std::string(kSetupLineEnd));
      ++report.lines;
      Step();
    }
  }
  report.unanswered = link_.unanswered() - unanswered_before;
  if (!reads.first_unanswered().empty()) {
    NotSaved("the ECU stopped answering at item " + reads.first_unanswered());
    return report;
  }
  if (interrupted) {
    NotSaved("the save was interrupted");
    return report;
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

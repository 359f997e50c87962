#include "core/calibration/setup_file_reader.h"

#include <fstream>
#include <tuple>
#include <utility>
#include <vector>

#include "core/calibration/setup_file_format.h"

namespace ecu {
namespace {

constexpr double kLinePause = 0.005;

// The file's lines without their CR LF (or LF) ends. False when the file
// cannot be read.
bool ReadLines(const std::string& path, std::vector<std::string>* lines) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines->push_back(line);
  }
  return !in.bad();
}

}  // namespace

SetupFileReader::SetupFileReader(EcuLink& link, SetupProgress progress)
    : link_(link), progress_(std::move(progress)) {}

SetupFileReport SetupFileReader::load(const std::string& path) {
  SetupFileReport report;
  std::vector<std::string> lines;
  if (!ReadLines(path, &lines)) {
    link_.prompts().Tell("The setup file " + path + " could not be read.");
    return report;
  }
  report.file_ok = true;
  const int unanswered_before = link_.unanswered();
  const int total = static_cast<int>(lines.size());
  for (const std::string& line : lines) {
    if (progress_) progress_(report.lines, total);
    const SetupLineRequest request = ParseSetupLine(line);
    switch (request.action) {
      case SetupLineRequest::Action::kSend:
        // The link counts what went unanswered.
        std::ignore = link_.SendCommand(request.command);
        break;
      case SetupLineRequest::Action::kSkip:
        ++report.skipped_lines;
        break;
      case SetupLineRequest::Action::kRefuse:
        ++report.refused_lines;
        link_.prompts().Tell("Unknown variable in data file");
        break;
    }
    link_.Pause(kLinePause);
    ++report.lines;
  }
  // An empty file has no progress to show (and no total to divide by).
  if (progress_ && total > 0) progress_(report.lines, total);
  report.unanswered = link_.unanswered() - unanswered_before;
  return report;
}

}  // namespace ecu

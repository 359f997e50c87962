#include "core/calibration/setup_file_reader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <tuple>
#include <utility>

#include "core/calibration/setup_file_format.h"

namespace ecu {
namespace {

constexpr double kLinePause = 0.005;
// Enough to find the mistakes of a hand-edited file; a file that is no
// setup file at all is not listed line by line.
constexpr size_t kRefusalsKept = 20;
// The writer's lines are 20 characters at most; a line beyond this is no
// setup line, and only its start is kept (to be refused), so that no line
// of any file can fill the memory.
constexpr std::streamsize kLongestLine = 1024;

// The lines of a file, counted without holding them: for the progress.
// CR LF, LF and a lone CR each end a line, as for every text file read.
std::optional<int> CountLines(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  int lines = 0;
  char last = '\n';
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    const auto got = static_cast<size_t>(in.gcount());
    for (size_t i = 0; i < got; ++i) {
      const char c = buffer[i];
      // The LF of a CR LF ends no second line.
      if (c == '\r' || (c == '\n' && last != '\r')) ++lines;
      last = c;
    }
  }
  if (in.bad()) return std::nullopt;
  return last == '\n' || last == '\r' ? lines : lines + 1;
}

enum class LineRead { kLine, kTooLong, kEnd };

// The next line, without its end (CR LF, LF or CR).
LineRead NextLine(std::istream& in, std::string* line) {
  std::streambuf& file = *in.rdbuf();
  using Traits = std::streambuf::traits_type;
  line->clear();
  int c = file.sbumpc();
  if (c == Traits::eof()) return LineRead::kEnd;
  bool too_long = false;
  for (; c != Traits::eof() && c != '\r' && c != '\n'; c = file.sbumpc()) {
    // Cut off at the limit: the rest of the line is passed over.
    if (line->size() < static_cast<size_t>(kLongestLine)) {
      line->push_back(Traits::to_char_type(c));
    } else {
      too_long = true;
    }
  }
  if (c == '\r' && file.sgetc() == '\n') file.sbumpc();
  return too_long ? LineRead::kTooLong : LineRead::kLine;
}

}  // namespace

SetupFileReader::SetupFileReader(EcuLink& link, SetupProgress progress,
                                 SetupStop stop)
    : link_(link), progress_(std::move(progress)), stop_(std::move(stop)) {}

void SetupFileReader::Apply(const std::string& line, SetupFileReport* report) {
  const SetupLineRequest request = ParseSetupLine(line);
  switch (request.action) {
    case SetupLineRequest::Action::kSend:
      // The link counts what went unanswered. A lost port takes nothing
      // more: the load stops there and says how far it got.
      if (link_.SendCommand(request.command).result ==
          CommandResult::kPortLost) {
        report->interrupted = true;
        return;
      }
      ++report->sent_lines;
      break;
    case SetupLineRequest::Action::kSkip:
      ++report->skipped_lines;
      break;
    case SetupLineRequest::Action::kRefuse:
      Refuse(request.problem, report);
      break;
  }
}

void SetupFileReader::Refuse(std::string_view reason, SetupFileReport* report) {
  ++report->refused_lines;
  if (report->refusals.size() < kRefusalsKept) {
    report->refusals.push_back({report->lines + 1, std::string(reason)});
  }
  link_.prompts().Tell("Unknown variable in data file");
}

SetupFileReport SetupFileReader::load(const std::string& path) {
  SetupFileReport report;
  // Counted first for the progress, then read a line at a time: a file is
  // never held in memory, whatever its size.
  const std::optional<int> total = CountLines(path);
  std::ifstream in(path, std::ios::binary);
  if (!total || !in) {
    link_.prompts().Tell("The setup file " + path + " could not be read.");
    return report;
  }
  report.file_ok = true;
  const int unanswered_before = link_.unanswered();
  std::string line;
  while (report.lines < *total) {
    if (stop_ && stop_()) {
      report.interrupted = true;
      break;
    }
    const LineRead read = NextLine(in, &line);
    if (read == LineRead::kEnd) break;
    if (progress_) progress_(report.lines, *total);
    if (read == LineRead::kTooLong) {
      Refuse("line too long", &report);
    } else {
      Apply(line, &report);
      if (report.interrupted) break;
    }
    link_.Pause(kLinePause);
    ++report.lines;
  }
  report.unanswered = link_.unanswered() - unanswered_before;
  // The file changed or failed under the reader: what was applied is told.
  if (in.bad() || report.lines < *total) report.interrupted = true;
  if (report.interrupted) {
    link_.prompts().Tell(
        "Loading " + path + " was interrupted after line " +
        std::to_string(report.lines) + " of " + std::to_string(*total) + ": " +
        std::to_string(report.sent_lines) +
        (report.sent_lines == 1 ? " line was" : " lines were") +
        " applied to the ECU.");
    return report;
  }
  // An empty file has no progress to show (and no total to divide by).
  if (progress_ && *total > 0) progress_(report.lines, *total);
  return report;
}

}  // namespace ecu

#include "core/console/data_log.h"

#include <cerrno>
#include <cstring>

#include "core/numbers/number_format.h"

namespace ecu {
namespace {

constexpr const char* kLineEnd = "\r\n";

// Writes all of `text` and pushes it to the file system.
bool Put(std::FILE* file, const std::string& text) {
  return std::fwrite(text.data(), 1, text.size(), file) == text.size() &&
         std::fflush(file) == 0;
}

std::string Reason() { return std::strerror(errno); }

}  // namespace

std::string LogHeader(const std::string& date_text) {
  return std::string("Time,RPM,A/F,CLT,TPS,MAP,MAT,PW,CORR") + kLineEnd +
         "Log Begins on " + date_text + kLineEnd + kLineEnd;
}

std::string LogDataLine(const LiveData& live, const std::string& time_text) {
  const double values[] = {live.RPM,          live.Lambda,       live.CLT,
                           live.TPS,          live.MAP,          live.MAT,
                           live.PW * 1000.0f, live.EgoCorrection};
  std::string line = time_text;
  for (size_t c = 0; c < kLogColumns.size(); ++c) {
    line += ',';
    line += FormatNumber(values[c], kLogColumns[c].pattern);
  }
  return line + kLineEnd;
}

bool LogState::Start(const std::string& file_name, const std::string& date_text,
                     std::string* error) {
  Stop();
  errno = 0;
  std::unique_ptr<std::FILE, FileCloser> file(
      file_name.empty() ? nullptr : std::fopen(file_name.c_str(), "wb"));
  if (file == nullptr) {
    *error = file_name.empty() ? "no file name was given" : Reason();
    return false;
  }
  if (!Put(file.get(), LogHeader(date_text))) {
    *error = Reason();
    return false;
  }
  file_ = std::move(file);
  file_name_ = file_name;
  sample_count_ = 0;
  return true;
}

bool LogState::WriteSample(const LiveData& live, const std::string& time_text,
                           std::string* error) {
  if (!LogActive()) return false;
  errno = 0;
  if (!Put(file_.get(), LogDataLine(live, time_text))) {
    *error = Reason();
    return false;
  }
  ++sample_count_;
  return true;
}

void LogState::Stop() { file_.reset(); }

}  // namespace ecu

#ifndef ECU_CORE_CONSOLE_DATA_LOG_H_
#define ECU_CORE_CONSOLE_DATA_LOG_H_

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "core/link/live_data.h"

namespace ecu {

// The default name in the plotter's file box.
inline constexpr const char* kDefaultLogFileName = "PLOTTER.CSV";

// The columns of a data line after the time, in order: the name the header
// gives each and the pattern its numbers are written in.
struct LogColumn {
  std::string_view name;
  std::string_view pattern;
};
inline constexpr std::array<LogColumn, 8> kLogColumns = {{
    {"RPM", "####0"},
    {"A/F", "0.00"},
    {"CLT", "##0"},
    {"TPS", "##0.0"},
    {"MAP", "##0.0"},
    {"MAT", "##0"},
    {"PW", "#0.000"},
    {"CORR", "0.000"},
}};

// Lines 1 to 3 of a log, each ended by CR LF: the column names, "Log Begins
// on " with the date (month-day-year), an empty line.
std::string LogHeader(const std::string& date_text);
// One data line with its CR LF: the sample's wall-clock time and the eight
// live values in the log's formats, e.g.
// 14:05:09,3235,1.05,93,15.8,32.2,24,8.175,1.024
std::string LogDataLine(const LiveData& live, const std::string& time_text);

// The logging state. It belongs to the console, not to the plotter window:
// a log keeps its file and count while the window is hidden or reopened.
// LogActive holds exactly while the file is open.
class LogState {
 public:
  LogState() = default;
  LogState(const LogState&) = delete;
  LogState& operator=(const LogState&) = delete;

  bool LogActive() const { return file_ != nullptr; }
  const std::string& LogFileName() const { return file_name_; }
  int32_t LogSampleCount() const { return sample_count_; }

  // Creates the file (replacing one of that name), writes the header and
  // starts counting. When the file cannot be created or written the state
  // stays not-logging and `error` says why.
  bool Start(const std::string& file_name, const std::string& date_text,
             std::string* error);
  // Appends the line of one sample and flushes it, so that a crash or a
  // pulled plug loses nothing already shown as written. Only lines that
  // reached the file are counted; false (with `error`) when the file
  // refused the line.
  bool WriteSample(const LiveData& live, const std::string& time_text,
                   std::string* error);
  // Closes the file; the name and count stay for the read-outs.
  void Stop();

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  std::unique_ptr<std::FILE, FileCloser> file_;
  std::string file_name_;
  int32_t sample_count_ = 0;
};

}  // namespace ecu

#endif  // ECU_CORE_CONSOLE_DATA_LOG_H_

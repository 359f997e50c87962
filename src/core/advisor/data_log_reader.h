#ifndef ECU_CORE_ADVISOR_DATA_LOG_READER_H_
#define ECU_CORE_ADVISOR_DATA_LOG_READER_H_

#include <string>
#include <string_view>
#include <vector>

namespace ecu {

// One data line of a log: the plotter's nine columns.
struct LogSample {
  // Seconds since the midnight before the log began, increasing across
  // midnight. Whole-second stamps are spread evenly over their second, so
  // that rates between samples mean something; stamps with milliseconds
  // ("14:05:09.250") are taken as they stand.
  double time_s = 0;
  double rpm = 0;
  double lambda = 0;  // A/F
  double clt_c = 0;
  double tps_percent = 0;
  double map_kpa = 0;
  double mat_c = 0;
  double pw_ms = 0;
  double ego_correction = 0;  // CORR
  int line = 0;               // in the file, from 1
};

// A line that could not be read, and why.
struct LogProblem {
  int line = 0;  // from 1
  std::string reason;
};

// A data log as read: its samples in file order and the lines that could
// not be read. Nothing is thrown: a bad line is reported and skipped.
struct DataLog {
  std::string source;  // the file's path, for captions
  std::string date;    // from "Log Begins on", e.g. 09-14-2008
  std::vector<LogSample> samples;
  std::vector<LogProblem> problems;
  // The last line ended without a line end and could not be read: a log
  // cut short while it was written. Not a problem.
  bool truncated_last_line = false;
  // Why nothing could be read at all (no file, no header); empty when the
  // log could be read, even with problems.
  std::string trouble;
};

// Reads a log as the plotter and ecu-cli write it: the header line
// "Time,RPM,A/F,CLT,TPS,MAP,MAT,PW,CORR" (columns found by name), the
// "Log Begins on" line, a blank line, then one sample a line; CR LF or LF
// line ends. Blank lines are passed over.
DataLog ReadDataLog(std::string_view text);
DataLog ReadDataLogFile(const std::string& path);

// "3 lines could not be read (line 12: reason, ...)", with "; the last
// line was cut off" when it was; empty for a log read whole.
std::string UnreadLinesText(const DataLog& log);

}  // namespace ecu

#endif  // ECU_CORE_ADVISOR_DATA_LOG_READER_H_

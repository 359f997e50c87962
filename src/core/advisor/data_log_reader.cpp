#include "core/advisor/data_log_reader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>

#include "core/console/data_log.h"
#include "core/text_file.h"

namespace ecu {
namespace {

constexpr std::string_view kDateLine = "Log Begins on ";
constexpr double kDay = 86400;
// A log that seems to go back by more than half a day has passed midnight.
constexpr double kMidnightJump = kDay / 2;

// The columns a sample needs: the time, then the log's value columns.
enum Column { kTime, kRpm, kLambda, kClt, kTps, kMap, kMat, kPw, kCorr };
constexpr size_t kColumnCount = 1 + kLogColumns.size();

std::string_view ColumnName(size_t column) {
  return column == kTime ? "Time" : kLogColumns[column - 1].name;
}

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  while (true) {
    const size_t comma = line.find(',', start);
    fields.push_back(Trimmed(line.substr(start, comma - start)));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return fields;
}

std::optional<double> Number(std::string_view text) {
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

// Two digits within [0, highest].
std::optional<int> TwoDigits(std::string_view text, int highest) {
  if (text.size() != 2 || !std::isdigit(static_cast<unsigned char>(text[0])) ||
      !std::isdigit(static_cast<unsigned char>(text[1]))) {
    return std::nullopt;
  }
  const int value = (text[0] - '0') * 10 + (text[1] - '0');
  if (value > highest) return std::nullopt;
  return value;
}

// "14:05:09" or "14:05:09.250": seconds since midnight, and whether the
// stamp had a fraction.
struct Stamp {
  double seconds = 0;
  bool fraction = false;
};
std::optional<Stamp> TimeStamp(std::string_view text) {
  if (text.size() < 8 || text[2] != ':' || text[5] != ':') return std::nullopt;
  const auto h = TwoDigits(text.substr(0, 2), 23);
  const auto m = TwoDigits(text.substr(3, 2), 59);
  const auto s = TwoDigits(text.substr(6, 2), 59);
  if (!h || !m || !s) return std::nullopt;
  Stamp stamp{*h * 3600.0 + *m * 60.0 + *s, false};
  if (text.size() == 8) return stamp;
  const std::string_view fraction = text.substr(8);
  if (fraction.size() < 2 || fraction.size() > 7 || fraction[0] != '.' ||
      !std::all_of(fraction.begin() + 1, fraction.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c));
      })) {
    return std::nullopt;
  }
  stamp.seconds += *Number(std::string("0") + std::string(fraction));
  stamp.fraction = true;
  return stamp;
}

// Where each column sits in a data line; nothing when the header lacks one.
std::optional<std::array<size_t, kColumnCount>> ColumnsOf(
    std::string_view header) {
  const std::vector<std::string_view> names = Fields(header);
  std::array<size_t, kColumnCount> at{};
  for (size_t c = 0; c < kColumnCount; ++c) {
    const auto found = std::find(names.begin(), names.end(), ColumnName(c));
    if (found == names.end()) return std::nullopt;
    at[c] = static_cast<size_t>(found - names.begin());
  }
  return at;
}

std::string Shown(std::string_view text) {
  constexpr size_t kShown = 24;
  return "\"" +
         (text.size() > kShown ? std::string(text.substr(0, kShown)) + "..."
                               : std::string(text)) +
         "\"";
}

// A sample from a data line, or why there is none. `stamp` gets the time.
std::optional<LogSample> SampleOf(std::string_view line,
                                  const std::array<size_t, kColumnCount>& at,
                                  size_t field_count, Stamp* stamp,
                                  std::string* reason) {
  const std::vector<std::string_view> fields = Fields(line);
  if (fields.size() != field_count) {
    *reason = std::to_string(field_count) + " fields expected, " +
              std::to_string(fields.size()) + " found";
    return std::nullopt;
  }
  const std::optional<Stamp> time = TimeStamp(fields[at[kTime]]);
  if (!time) {
    *reason = "the time " + Shown(fields[at[kTime]]) +
              " is not hours:minutes:seconds";
    return std::nullopt;
  }
  *stamp = *time;
  std::array<double, kColumnCount> values{};
  for (size_t c = kRpm; c < kColumnCount; ++c) {
    const std::optional<double> value = Number(fields[at[c]]);
    if (!value) {
      *reason = std::string(ColumnName(c)) + " " + Shown(fields[at[c]]) +
                " is not a number";
      return std::nullopt;
    }
    values[c] = *value;
  }
  LogSample s;
  s.rpm = values[kRpm];
  s.lambda = values[kLambda];
  s.clt_c = values[kClt];
  s.tps_percent = values[kTps];
  s.map_kpa = values[kMap];
  s.mat_c = values[kMat];
  s.pw_ms = values[kPw];
  s.ego_correction = values[kCorr];
  return s;
}

// Places whole-second stamps within their second: a run of k samples with
// the same stamp is spread k to the second. The first and last runs of a
// log may be cut short by its start and end, so they take the spacing of
// their neighbouring run and keep to their own end of the second.
void SpreadWholeSeconds(std::vector<LogSample>& samples,
                        const std::vector<bool>& has_fraction) {
  struct Run {
    size_t begin, end;  // [begin, end)
  };
  std::vector<Run> runs;
  for (size_t i = 0; i < samples.size();) {
    size_t j = i + 1;
    if (!has_fraction[i]) {
      while (j < samples.size() && !has_fraction[j] &&
             samples[j].time_s == samples[i].time_s) {
        ++j;
      }
    }
    runs.push_back({i, j});
    i = j;
  }
  const auto spacing = [&](size_t r) {
    return 1.0 / static_cast<double>(runs[r].end - runs[r].begin);
  };
  for (size_t r = 0; r < runs.size(); ++r) {
    const Run& run = runs[r];
    if (has_fraction[run.begin]) continue;
    const size_t k = run.end - run.begin;
    double step = spacing(r);
    double start = 0;
    if (runs.size() > 1 && r == 0) {
      step = std::min(step, spacing(1));
      start = 1.0 - static_cast<double>(k) * step;  // ends at the second's end
    } else if (runs.size() > 1 && r + 1 == runs.size()) {
      step = std::min(step, spacing(r - 1));
    }
    for (size_t j = 0; j < k; ++j) {
      samples[run.begin + j].time_s += start + static_cast<double>(j) * step;
    }
  }
}

}  // namespace

DataLog ReadDataLog(std::string_view text) {
  DataLog log;
  std::optional<std::array<size_t, kColumnCount>> columns;
  size_t field_count = 0;
  std::vector<bool> has_fraction;
  double day = 0;
  double previous = -1;
  int number = 0;
  size_t start = 0;
  while (start < text.size()) {
    const TextLine next = LineAt(text, start);
    const std::string_view line = next.text;
    const bool ended = next.ended;
    start = next.next;
    ++number;
    if (!columns) {
      columns = ColumnsOf(line);
      if (!columns) {
        log.trouble = "This is not a data log: its first line is " +
                      Shown(line) + " instead of the column names " +
                      "Time,RPM,A/F,CLT,TPS,MAP,MAT,PW,CORR.";
        return log;
      }
      field_count = Fields(line).size();
      continue;
    }
    if (Trimmed(line).empty()) continue;
    if (line.starts_with(kDateLine)) {
      log.date = std::string(Trimmed(line.substr(kDateLine.size())));
      continue;
    }
    Stamp stamp;
    std::string reason;
    std::optional<LogSample> sample =
        SampleOf(line, *columns, field_count, &stamp, &reason);
    if (!sample) {
      if (!ended) {
        log.truncated_last_line = true;
      } else {
        log.problems.push_back({number, reason});
      }
      continue;
    }
    if (previous >= 0 && stamp.seconds < previous - kMidnightJump) day += kDay;
    previous = stamp.seconds;
    sample->time_s = day + stamp.seconds;
    sample->line = number;
    log.samples.push_back(*sample);
    has_fraction.push_back(stamp.fraction);
  }
  if (!columns) log.trouble = "The data log is empty.";
  SpreadWholeSeconds(log.samples, has_fraction);
  return log;
}

std::string UnreadLinesText(const DataLog& log) {
  std::string text;
  if (!log.problems.empty()) {
    const LogProblem& p = log.problems.front();
    text = std::to_string(log.problems.size()) +
           (log.problems.size() == 1 ? " line" : " lines") +
           " could not be read (line " + std::to_string(p.line) + ": " +
           p.reason + (log.problems.size() > 1 ? ", ..." : "") + ")";
  }
  if (log.truncated_last_line) {
    text += text.empty() ? "the last line was cut off"
                         : "; the last line was cut off";
  }
  return text;
}

DataLog ReadDataLogFile(const std::string& path) {
  const std::optional<std::string> text = ReadTextFile(path);
  DataLog log;
  if (text) log = ReadDataLog(*text);
  if (!text) {
    log.trouble = "The data log " + path +
                  " could not be read; check the name and that it is a file "
                  "you may read.";
  }
  log.source = path;
  return log;
}

}  // namespace ecu

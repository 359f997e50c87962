#include "core/advisor/log_view_model.h"

#include <algorithm>
#include <cmath>

#include "core/console/data_log.h"
#include "core/numbers/number_format.h"
#include "core/readouts/plotter_model.h"

namespace ecu {
namespace {

// The narrowest view: a second of log across the chart.
constexpr double kNarrowestViewS = 1.0;
constexpr double kDayS = 86400;
// The log's A/F column: lambda.
constexpr int kMixtureChannel = 1;

double Value(int channel, const LogSample& s) {
  switch (channel) {
    case 0:
      return s.rpm;
    case kMixtureChannel:
      return s.lambda;
    case 2:
      return s.clt_c;
    case 3:
      return s.tps_percent;
    case 4:
      return s.map_kpa;
    case 5:
      return s.mat_c;
    case 6:
      return s.pw_ms;
    default:
      return s.ego_correction;
  }
}

}  // namespace

bool LogViewModel::Open(const std::string& path) {
  DataLog log = ReadDataLogFile(path);
  if (!log.trouble.empty()) {
    log_.trouble = log.trouble;
    return false;
  }
  Show(std::move(log));
  return true;
}

void LogViewModel::Show(DataLog log) {
  log_ = std::move(log);
  cursor_.reset();
  set_axes(axes_);
  ShowAll();
}

void LogViewModel::set_axes(const MapAxes& axes) {
  axes_ = axes;
  // The plotter's full scales: the same trace looks the same in both.
  LiveData scale;
  scale.FullScaleRpm = static_cast<float>(axes.full_scale_rpm);
  scale.MapSpan = static_cast<float>(axes.map_span);
  scale.MapOffset = static_cast<float>(axes.map_offset);
  fractions_.resize(log_.samples.size());
  for (size_t i = 0; i < log_.samples.size(); ++i) {
    const LogSample& s = log_.samples[i];
    LiveData live = scale;
    live.RPM = static_cast<float>(s.rpm);
    live.Lambda = static_cast<float>(s.lambda);
    live.CLT = static_cast<float>(s.clt_c);
    live.TPS = static_cast<float>(s.tps_percent);
    live.MAP = static_cast<float>(s.map_kpa);
    live.MAT = static_cast<float>(s.mat_c);
    live.PW = static_cast<float>(s.pw_ms / 1000.0);
    live.EgoCorrection = static_cast<float>(s.ego_correction);
    const ChannelValues values = ChannelValuesOf(live);
    for (int c = 0; c < kLogChannels; ++c) {
      fractions_[i][static_cast<size_t>(c)] =
          static_cast<float>(values[static_cast<size_t>(c)]);
    }
  }
  Recount();
}

std::string LogViewModel::Summary() const {
  if (empty()) {
    return log_.trouble.empty() ? "No samples in this log." : log_.trouble;
  }
  const double span = last_s() - first_s();
  std::string text = std::to_string(log_.samples.size()) + " samples, " +
                     TimeText(span, false) + " from " +
                     TimeText(first_s(), false);
  if (!log_.date.empty()) text += " on " + log_.date;
  const std::string unread = UnreadLinesText(log_);
  if (!unread.empty()) text += "; " + unread;
  return text;
}

std::string_view LogViewModel::ChannelName(int channel) {
  return kLogColumns[static_cast<size_t>(channel)].name;
}

Rgb LogViewModel::ChannelColour(int channel) {
  return PlotterChannels()[static_cast<size_t>(channel)].colour;
}

void LogViewModel::ShowChannel(int channel, bool shown) {
  if (channel < 0 || channel >= kLogChannels) return;
  shown_[static_cast<size_t>(channel)] = shown;
}

float LogViewModel::Fraction(int channel, size_t sample) const {
  return fractions_[sample][static_cast<size_t>(channel)];
}

std::string LogViewModel::ValueText(int channel, size_t sample) const {
  const std::string_view pattern =
      kLogColumns[static_cast<size_t>(channel)].pattern;
  const double value = Value(channel, log_.samples[sample]);
  return channel == kMixtureChannel ? units_.Text(value, pattern)
                                    : FormatNumber(value, pattern);
}

std::string LogViewModel::ChannelCaption(int channel) const {
  if (channel == kMixtureChannel && units_.afr) {
    return std::string(units_.UnitName());
  }
  return std::string(ChannelName(channel));
}

double LogViewModel::first_s() const {
  return empty() ? 0 : log_.samples.front().time_s;
}

double LogViewModel::last_s() const {
  return empty() ? 0 : log_.samples.back().time_s;
}

void LogViewModel::ShowAll() {
  view_begin_ = first_s();
  view_end_ = std::max(last_s(), first_s() + kNarrowestViewS);
}

void LogViewModel::Zoom(double factor, double anchor_s) {
  const double span = view_end_ - view_begin_;
  const double whole = std::max(last_s() - first_s(), kNarrowestViewS);
  const double wanted = std::clamp(span * factor, kNarrowestViewS, whole);
  const double share = span > 0 ? (anchor_s - view_begin_) / span : 0.5;
  view_begin_ = anchor_s - share * wanted;
  view_end_ = view_begin_ + wanted;
  Pan(0);
}

void LogViewModel::Pan(double seconds) {
  const double span = view_end_ - view_begin_;
  view_begin_ = std::clamp(view_begin_ + seconds, first_s(),
                           std::max(first_s(), last_s() - span));
  view_end_ = view_begin_ + span;
}

std::pair<size_t, size_t> LogViewModel::Visible() const {
  const auto& s = log_.samples;
  const auto before = [](const LogSample& a, double t) { return a.time_s < t; };
  const auto first =
      std::lower_bound(s.begin(), s.end(), view_begin_, before) - s.begin();
  const auto last = std::upper_bound(s.begin(), s.end(), view_end_,
                                     [](double t, const LogSample& a) {
                                       return t < a.time_s;
                                     }) -
                    s.begin();
  return {static_cast<size_t>(first), static_cast<size_t>(last)};
}

std::vector<ColumnSpan> LogViewModel::Envelope(int channel, int columns) const {
  std::vector<ColumnSpan> spans(static_cast<size_t>(std::max(columns, 0)));
  const double span = view_end_ - view_begin_;
  if (spans.empty() || span <= 0) return spans;
  const auto [first, last] = Visible();
  for (size_t i = first; i < last; ++i) {
    const double x = (log_.samples[i].time_s - view_begin_) / span * columns;
    const auto column =
        static_cast<size_t>(std::clamp(static_cast<int>(x), 0, columns - 1));
    const float v = Fraction(channel, i);
    ColumnSpan& c = spans[column];
    if (c.empty) {
      c = {false, v, v};
    } else {
      c.low = std::min(c.low, v);
      c.high = std::max(c.high, v);
    }
  }
  return spans;
}

void LogViewModel::PlaceCursor(double time_s) {
  if (empty()) return;
  const auto& s = log_.samples;
  auto it = std::lower_bound(
      s.begin(), s.end(), time_s,
      [](const LogSample& a, double t) { return a.time_s < t; });
  if (it == s.end() ||
      (it != s.begin() && time_s - (it - 1)->time_s < it->time_s - time_s)) {
    --it;
  }
  cursor_ = static_cast<size_t>(it - s.begin());
}

void LogViewModel::StepCursor(int samples) {
  if (empty()) return;
  if (!cursor_) {
    PlaceCursor(view_begin_);
    return;
  }
  const auto last = static_cast<long long>(log_.samples.size()) - 1;
  cursor_ = static_cast<size_t>(
      std::clamp(static_cast<long long>(*cursor_) + samples, 0LL, last));
  // The view follows a cursor stepped out of it.
  const double t = log_.samples[*cursor_].time_s;
  if (t < view_begin_) Pan(t - view_begin_);
  if (t > view_end_) Pan(t - view_end_);
}

std::string LogViewModel::TimeText(double time_s, bool tenths) {
  double t = std::fmod(std::max(time_s, 0.0), kDayS);
  if (tenths) t = std::floor(t * 10) / 10;
  const auto whole = static_cast<long long>(std::floor(t));
  std::string text = FormatNumber(static_cast<double>(whole / 3600), "00") +
                     ":" +
                     FormatNumber(static_cast<double>(whole / 60 % 60), "00") +
                     ":" + FormatNumber(static_cast<double>(whole % 60), "00");
  if (tenths) {
    text += "." + std::to_string(
                      static_cast<int>(std::lround((t - whole) * 10)) % 10);
  }
  return text;
}

MapPoint LogViewModel::PointOf(const LogSample& s) const {
  return PointOnAxes(s.rpm, s.map_kpa, s.tps_percent, axes_);
}

void LogViewModel::Recount() {
  hits_.fill(0);
  for (const LogSample& s : log_.samples) {
    ++hits_[static_cast<size_t>(LiveCellIndex(PointOf(s)))];
  }
}

std::optional<int> LogViewModel::CursorCell() const {
  if (!cursor_) return std::nullopt;
  return LiveCellIndex(PointOf(log_.samples[*cursor_]));
}

MapGridCells LogViewModel::HitGrid() const {
  MapGridCells cells = HitCountGrid(hits_);
  if (const std::optional<int> at = CursorCell()) {
    cells[static_cast<size_t>(*at)].outlined = true;
  }
  return cells;
}

}  // namespace ecu

#ifndef ECU_CORE_ADVISOR_LOG_VIEW_MODEL_H_
#define ECU_CORE_ADVISOR_LOG_VIEW_MODEL_H_

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/advisor/data_log_reader.h"
#include "core/advisor/grid_cells.h"
#include "core/calibration/map_geometry.h"
#include "core/editors/editor_colours.h"
#include "core/units/mixture_units.h"

namespace ecu {

// The eight value columns of a log, in the order of the plotter's channels.
inline constexpr int kLogChannels = 8;

// A stretch of the chart one pixel column wide: the lowest and highest
// fraction of a channel among the samples in it.
struct ColumnSpan {
  bool empty = true;
  float low = 0;
  float high = 0;
};

// The log viewer: a data log charted against time, zoomed and panned, a
// cursor on one sample, and the fuel map's cells coloured by how often the
// engine ran in each (the live cell of every sample, as Basic Mapping
// marks it).
class LogViewModel {
 public:
  // Reads a log. False when nothing could be read (log().trouble says
  // why); the log shown before stays.
  bool Open(const std::string& path);
  // Shows a log already read.
  void Show(DataLog log);
  const DataLog& log() const { return log_; }
  bool empty() const { return log_.samples.empty(); }
  // "72000 samples, 2:00:00 from 08:00:00; 2 lines could not be read
  // (line 5: ...)".
  std::string Summary() const;

  // The axes the grid and the chart's full scales follow: the console's
  // scaling, which the log itself does not record.
  void set_axes(const MapAxes& axes);
  const MapAxes& axes() const { return axes_; }

  // Channels: the log's column name, the plotter's trace colour, and the
  // value as a fraction of the plotter's full scale.
  static std::string_view ChannelName(int channel);
  static Rgb ChannelColour(int channel);
  bool shown(int channel) const { return shown_[static_cast<size_t>(channel)]; }
  void ShowChannel(int channel, bool shown);
  float Fraction(int channel, size_t sample) const;
  // The value as the log wrote it ("3235", "1.05", "8.175"); the mixture in
  // the console's units, though the log keeps lambda.
  std::string ValueText(int channel, size_t sample) const;
  // The channel's name beside its value: the log's, or the unit's name for a
  // mixture shown as AFR.
  std::string ChannelCaption(int channel) const;
  void set_units(const MixtureUnits& units) { units_ = units; }
  const MixtureUnits& units() const { return units_; }

  // The time shown, in the log's seconds (LogSample::time_s).
  double first_s() const;
  double last_s() const;
  double view_begin() const { return view_begin_; }
  double view_end() const { return view_end_; }
  void ShowAll();
  // `factor` below 1 zooms in, keeping the time `anchor_s` where it is.
  void Zoom(double factor, double anchor_s);
  void Pan(double seconds);
  // The samples within the view: [first, last).
  std::pair<size_t, size_t> Visible() const;
  // Each channel across `columns` pixel columns of the view.
  std::vector<ColumnSpan> Envelope(int channel, int columns) const;
  // Samples further apart than this break a trace: a pause in the log.
  static constexpr double kGapS = 2.0;

  // The cursor sits on the sample nearest the time it was put at.
  void PlaceCursor(double time_s);
  void StepCursor(int samples);
  std::optional<size_t> cursor() const { return cursor_; }
  // "14:05:09.3": a time of day in the log.
  static std::string TimeText(double time_s, bool tenths);

  // How many samples ran in each cell, and the grid as shown: the count in
  // each visited cell, deeper blue for more, the cursor's cell outlined.
  const std::array<int, kMapCellCount>& hits() const { return hits_; }
  std::optional<int> CursorCell() const;
  MapGridCells HitGrid() const;

 private:
  void Recount();
  MapPoint PointOf(const LogSample& s) const;

  DataLog log_;
  MapAxes axes_;
  MixtureUnits units_;
  std::vector<std::array<float, kLogChannels>> fractions_;
  std::array<bool, kLogChannels> shown_{true, true, true, true,
                                        true, true, true, true};
  double view_begin_ = 0;
  double view_end_ = 1;
  std::optional<size_t> cursor_;
  std::array<int, kMapCellCount> hits_{};
};

}  // namespace ecu

#endif  // ECU_CORE_ADVISOR_LOG_VIEW_MODEL_H_

#ifndef ECU_CORE_READOUTS_PLOTTER_MODEL_H_
#define ECU_CORE_READOUTS_PLOTTER_MODEL_H_

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/console/sample_rate.h"
#include "core/ecu_context.h"
#include "core/editors/editor_colours.h"
#include "core/link/frame.h"
#include "core/link/live_decoding.h"
#include "core/link/window_activation.h"
#include "core/units/mixture_units.h"

namespace ecu {

inline constexpr int kPlotterChannels = 8;
// One sample of the chart: each channel as a fraction of its full scale,
// channel 0 first.
using ChannelValues = std::array<double, kPlotterChannels>;

// A chart channel: its check box caption (Check3d1_i) and trace colour.
struct PlotterChannel {
  std::string_view caption;
  Rgb colour;
};
const std::array<PlotterChannel, kPlotterChannels>& PlotterChannels();

// Channel 1's caption in the mixture units shown; the chart itself keeps
// its lambda scale (0.6 to 1.4), as the log keeps lambda.
std::string AirFuelCaption(const MixtureUnits& units);
inline constexpr std::string_view kChannelToolTip =
    "Click the checkbox to enable or disable this channel on the chart "
    "recorder";

// The fractions the chart is handed for the live values. Only the mixture
// is held at 0 below; values above full scale pass unchanged.
ChannelValues ChannelValuesOf(const LiveData& live);

// The entries of the "&Logging Interval" menu (menu_log_int_i).
struct LogInterval {
  std::string_view caption;
  int ms;
};
inline constexpr std::array<LogInterval, 7> kLogIntervals = {{
    {"100 mS&econds", 100},
    {"250 &mSeconds", 250},
    {"500 m&Seconds", 500},
    {"&1 Second", 1000},
    {"&2 Seconds", 2000},
    {"&5 Seconds", 5000},
    {"1&0 Seconds", 10000},
}};
inline constexpr int kStartLogIntervalEntry = 3;
// After them: samples at the line's rate, each from its own answer.
inline constexpr int kFastestIntervalEntry = 7;
inline constexpr std::string_view kFastestCaption = "&Fastest";
// The most "A" frames the line carries: the request and the reply.
inline constexpr double kLineSamplesPerSecond =
    1.0 / ((kRequestLength + kLiveFrameLength + 2) * kSecondsPerByte);
// The samples the chart holds.
inline constexpr int kChartSamples = 600;

// "DATA PLOTTER     1 Sample/Second,  10 minute window" for 1000 ms: the
// chart holds 600 samples.
std::string PlotterTitle(int interval_ms);
// The same for "Fastest" at the achieved rate, e.g. "DATA PLOTTER
// 57.6 Sample/Second,  .2 minute window"; before it is known, says so.
std::string FastestPlotterTitle(std::optional<double> per_second);

// The text stamped on the chart where it is clicked, e.g. 14:05:09.37.
std::string ChartStampText(Clock& clock);
inline constexpr double kStampHeight = 0.05;

inline constexpr const char* kAlreadyLogging =
    "But you are already logging, You must halt to begin a new log";
inline constexpr const char* kNotLogging = "But logging has not been started";
inline constexpr const char* kHaltBeforeExit =
    "Logging must be halted prior to exit";

// frm_plotter's state and behaviour: channel boxes, the log buttons and
// their rules, the interval menu and the title, the sample step. The
// logging state itself is the console's (EcuContext::log).
class PlotterModel {
 public:
  // `set_log_interval` sets LogTimer's interval.
  PlotterModel(EcuContext& ctx, std::function<void(int ms)> set_log_interval);

  // The window was shown: its first appearance is its load, once the window
  // is up and the link is idle.
  void Shown();
  void Hidden() { activation_.Hidden(); }
  // The window was created: title, the configuration read, the captions
  // that depend on it. Once per window.
  void Load();
  bool loaded() const { return loaded_; }
  // Called after the load changed what the window shows.
  void set_loaded(std::function<void()> loaded) {
    on_load_ = std::move(loaded);
  }

  // TakeSample: the log line (when logging) and the chart step (when any
  // channel is ticked).
  void TakeSample();
  void set_chart(std::function<void(const ChannelValues&)> chart) {
    chart_ = std::move(chart);
  }

  void StartLog();  // Command3d2
  void StopLog();   // Command3d3
  // Exit, the close box and the switch entries: refused while logging.
  bool CanExit();

  void ChooseInterval(int entry);  // menu_log_int_i
  int checked_interval() const { return checked_interval_; }
  // The chart's time scale: the interval, or the achieved rate's.
  double SecondsPerSample() const;

  void TickChannel(int channel, bool ticked);  // Check3d1_i
  bool channel_ticked(int channel) const {
    return ticked_[static_cast<size_t>(channel)];
  }
  // The mixture units changed: channel 1's caption follows.
  void UnitsChanged();
  const std::string& caption(int channel) const {
    return captions_[static_cast<size_t>(channel)];
  }

  const std::string& title() const { return title_; }
  const std::string& plot_file() const { return plot_file_; }
  void set_plot_file(std::string text) { plot_file_ = std::move(text); }
  const std::string& file_samples() const { return file_samples_; }
  // The file box and the two buttons follow the logging state.
  bool logging() const { return ctx_.log.LogActive(); }

 private:
  EcuContext& ctx_;
  std::function<void(int)> set_log_interval_;
  std::function<void(const ChannelValues&)> chart_;
  std::function<void()> on_load_;
  WindowActivation activation_;
  void CountSample();

  bool loaded_ = false;
  SampleRate rate_;  // on "Fastest"
  std::optional<float> rate_clock_;
  double run_seconds_ = 0;
  std::string title_ = "Data Plotter";
  std::array<std::string, kPlotterChannels> captions_;
  std::array<bool, kPlotterChannels> ticked_{};
  int checked_interval_ = kStartLogIntervalEntry;
  std::string plot_file_ = kDefaultLogFileName;
  std::string file_samples_ = "N/A";
};

}  // namespace ecu

#endif  // ECU_CORE_READOUTS_PLOTTER_MODEL_H_

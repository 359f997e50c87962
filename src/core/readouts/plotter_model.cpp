#include "core/readouts/plotter_model.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "core/calibration/calibration_requests.h"
#include "core/console/log_file_choice.h"
#include "core/numbers/number_format.h"

namespace ecu {

const std::array<PlotterChannel, kPlotterChannels>& PlotterChannels() {
  static const std::array<PlotterChannel, kPlotterChannels> channels = {{
      {"RPM [0 to Max RPM]", {255, 255, 0}},
      {"Air Fuel [0.6 to 1.4 lamda]", {128, 128, 255}},
      {"Coolant [0 to 125 \u00B0C]", {255, 0, 0}},
      {"TPS [0 to 100%]", {0, 128, 128}},
      {"Manifold Pressure", {128, 255, 255}},
      {"Air Temp [0 to 125 \u00B0C]", {192, 0, 192}},
      {"Inj PW [0 to 25 ms]", {255, 128, 0}},
      {"EGO Correction [0 to 2]", {0, 128, 0}},
  }};
  return channels;
}

ChannelValues ChannelValuesOf(const LiveData& live) {
  return {
      static_cast<double>(live.RPM) / live.FullScaleRpm,
      std::max(0.0, (static_cast<double>(live.Lambda) - 0.6) / 0.8),
      live.CLT / 125.0,
      live.TPS / 100.0,
      static_cast<double>(live.MAP) / live.MapSpan,
      live.MAT / 125.0,
      live.PW * 1000.0 / 25.0,
      live.EgoCorrection / 2.0,
  };
}

std::string AirFuelCaption(const MixtureUnits& units) {
  if (!units.afr) return std::string(PlotterChannels()[1].caption);
  return "Air Fuel [" + FormatNumber(units.FromLambda(0.6), "#0.0") + " to " +
         FormatNumber(units.FromLambda(1.4), "#0.0") + " AFR]";
}

std::string PlotterTitle(int interval_ms) {
  return "DATA PLOTTER    " + GeneralText(1000.0 / interval_ms) +
         " Sample/Second, " + GeneralText(interval_ms * 0.001 * 10) +
         " minute window";
}

std::string FastestPlotterTitle(std::optional<double> per_second) {
  if (!per_second || *per_second <= 0) {
    return "DATA PLOTTER     Fastest, measuring the rate";
  }
  const double rate = std::round(*per_second * 10) / 10;
  const double minutes = std::round(kChartSamples / *per_second / 6) / 10;
  return "DATA PLOTTER    " + GeneralText(rate) + " Sample/Second, " +
         GeneralText(minutes) + " minute window";
}

std::string ChartStampText(Clock& clock) {
  const std::string time = clock.TimeText();
  const double seconds = clock.SecondsSinceMidnight();
  // Hundredths cut rather than rounded: .996 must not show as "1." after
  // the seconds it belongs to.
  const double hundredths = std::floor((seconds - std::floor(seconds)) * 100);
  return time + FormatNumber(hundredths / 100, ".##");
}

PlotterModel::PlotterModel(EcuContext& ctx,
                           std::function<void(int ms)> set_log_interval)
    : ctx_(ctx),
      set_log_interval_(std::move(set_log_interval)),
      activation_(ctx.link, ctx.pump) {
  for (int i = 0; i < kPlotterChannels; ++i) {
    captions_[static_cast<size_t>(i)] =
        std::string(PlotterChannels()[static_cast<size_t>(i)].caption);
  }
  UnitsChanged();
}

void PlotterModel::Shown() {
  if (loaded_) return;
  // It talks to the ECU, so it waits for any transaction in progress.
  activation_.Shown([this] {
    activation_.FillWhenIdle([this] {
      if (loaded_) return;
      Load();
      if (on_load_) on_load_();
    });
  });
}

void PlotterModel::UnitsChanged() { captions_[1] = AirFuelCaption(ctx_.units); }

void PlotterModel::Load() {
  loaded_ = true;
  title_ = ctx_.console.fastest_log
               ? FastestPlotterTitle(rate_.per_second())
               : PlotterTitle(ctx_.console.log_interval_ms);
  // The captions name the full scales the configuration block sets.
  ctx_.link.Pause(0.2);
  std::ignore = ReadConfigurationBlock(ctx_.link);
  ctx_.link.Pause(0.1);
  captions_[0] =
      "RPM [0 to " + FormatNumber(ctx_.live.FullScaleRpm, "####0") + "]";
  captions_[4] = "Manifold Pressure [0 to " +
                 FormatNumber(ctx_.live.MapSpan, "##0") + " kPa]";
}

void PlotterModel::TakeSample() {
  const bool fastest = ctx_.console.fastest_log;
  if (fastest) CountSample();
  LogState& log = ctx_.log;
  if (log.LogActive()) {
    // Many samples share a second at the line's rate: they carry their
    // milliseconds, which the log readers take as they stand.
    const std::string time =
        fastest ? ctx_.clock.TimeTextWithMilliseconds() : ctx_.clock.TimeText();
    std::string error;
    if (!log.WriteSample(ctx_.live, time, &error)) {
      // A full disk must not look like a growing log.
      log.Stop();
      ctx_.prompts.Tell("The log file " + log.LogFileName() +
                        " could not be written (" + error +
                        "). Logging has been halted.");
    }
    file_samples_ = GeneralText(log.LogSampleCount());
  } else {
    file_samples_ = "N/A";
  }
  const bool any_ticked =
      std::find(ticked_.begin(), ticked_.end(), true) != ticked_.end();
  if (any_ticked && chart_) chart_(ChannelValuesOf(ctx_.live));
}

void PlotterModel::StartLog() {
  if (ctx_.log.LogActive()) {
    ctx_.prompts.Tell(kAlreadyLogging);
    return;
  }
  const std::optional<std::string> file =
      ChooseLogFile(plot_file_, ctx_.prompts);
  if (!file) return;
  plot_file_ = *file;
  std::string error;
  if (!ctx_.log.Start(plot_file_, ctx_.clock.DateText(), &error)) {
    ctx_.prompts.Tell("The log file " + plot_file_ + " could not be created (" +
                      error + ").");
  }
}

void PlotterModel::StopLog() {
  if (!ctx_.log.LogActive()) {
    ctx_.prompts.Tell(kNotLogging);
    return;
  }
  ctx_.log.Stop();
}

bool PlotterModel::CanExit() {
  if (!ctx_.log.LogActive()) return true;
  ctx_.prompts.Tell(kHaltBeforeExit);
  return false;
}

void PlotterModel::ChooseInterval(int entry) {
  if (entry == kFastestIntervalEntry) {
    ctx_.console.fastest_log = true;
    checked_interval_ = entry;
    rate_.Restart();
    rate_clock_.reset();
    run_seconds_ = 0;
    title_ = FastestPlotterTitle(std::nullopt);
    return;
  }
  if (entry < 0 || entry >= static_cast<int>(kLogIntervals.size())) return;
  ctx_.console.fastest_log = false;
  const int ms = kLogIntervals[static_cast<size_t>(entry)].ms;
  if (set_log_interval_) {
    set_log_interval_(ms);
  } else {
    ctx_.console.log_interval_ms = ms;
  }
  checked_interval_ = entry;
  title_ = PlotterTitle(ms);
}

double PlotterModel::SecondsPerSample() const {
  if (!ctx_.console.fastest_log) return ctx_.console.log_interval_ms / 1000.0;
  return 1 / rate_.per_second().value_or(kLineSamplesPerSecond);
}

void PlotterModel::CountSample() {
  // Seconds since the first sample, carried on past midnight.
  const float now = ctx_.clock.SecondsSinceMidnight();
  if (rate_clock_) run_seconds_ += ElapsedSince(*rate_clock_, now);
  rate_clock_ = now;
  rate_.Count(run_seconds_);
  title_ = FastestPlotterTitle(rate_.per_second());
}

void PlotterModel::TickChannel(int channel, bool ticked) {
  if (channel < 0 || channel >= kPlotterChannels) return;
  ticked_[static_cast<size_t>(channel)] = ticked;
}

}  // namespace ecu

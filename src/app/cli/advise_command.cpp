#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/cli/cli_commands.h"
#include "app/cli/snapshot_reading.h"
#include "app/command_line/checked_options.h"
#include "core/advisor/advice_text.h"
#include "core/advisor/calibration_for_advice.h"
#include "core/numbers/checked_number.h"
#include "core/text_file.h"

namespace ecu::cli {
namespace {

// Bad lines named per log before the rest are only counted.
constexpr size_t kProblemsShown = 10;
// The EGO set points' own limits.
constexpr double kLowestLambda = 0.5;
constexpr double kHighestLambda = 1.6;

struct AdviseArguments {
  std::vector<std::string> logs;
  std::string setup;
  std::string target = "ego";
  std::string out;
  AdvisorSettings settings;
  bool nearest = false;
  bool fill_unvisited = false;
  // 0 for lambda, else the fuel's stoichiometric ratio.
  double afr = 0;
};

// The logs, or nothing after saying why one cannot be used.
std::optional<std::vector<DataLog>> ReadLogs(
    const std::vector<std::string>& paths) {
  std::vector<DataLog> logs;
  for (const std::string& path : paths) {
    DataLog log = ReadDataLogFile(path);
    if (!log.trouble.empty()) {
      std::fprintf(stderr, "ecu-cli: %s\n", log.trouble.c_str());
      return std::nullopt;
    }
    for (size_t i = 0; i < log.problems.size() && i < kProblemsShown; ++i) {
      std::fprintf(stderr, "ecu-cli: %s line %d: %s; line left out\n",
                   path.c_str(), log.problems[i].line,
                   log.problems[i].reason.c_str());
    }
    if (log.problems.size() > kProblemsShown) {
      std::fprintf(stderr, "ecu-cli: %s: %zu more lines left out\n",
                   path.c_str(), log.problems.size() - kProblemsShown);
    }
    if (log.truncated_last_line) {
      std::fprintf(stderr,
                   "ecu-cli: %s ends in a cut-off line; it was left out\n",
                   path.c_str());
    }
    logs.push_back(std::move(log));
  }
  return logs;
}

// Writes the new setup file; false after saying why not.
bool WriteAdvisedSetup(const AdviseArguments& args,
                       const CalibrationSnapshot& calibration,
                       const Advice& advice) {
  std::optional<std::string> text;
  if (!args.setup.empty()) {
    if (const auto read = ReadTextFile(args.setup)) {
      text = WithAdvisedMap(*read, advice);
    } else {
      std::fprintf(stderr, "ecu-cli: the setup file %s could not be read\n",
                   args.setup.c_str());
      return false;
    }
  } else {
    text = SetupTextWithAdvisedMap(calibration, advice);
    if (!text) {
      std::fprintf(stderr,
                   "ecu-cli: %d values of the ECU's calibration are unknown; "
                   "%s was not written\n",
                   calibration.UnknownCount(), args.out.c_str());
      return false;
    }
  }
  if (!WriteFileReplacing(args.out, *text)) {
    std::fprintf(stderr,
                 "ecu-cli: %s could not be written; any earlier file of that "
                 "name is unchanged\n",
                 args.out.c_str());
    return false;
  }
  std::printf("Setup file with the new map written to %s\n", args.out.c_str());
  return true;
}

int RunAdvise(CliSession& session, AdviseArguments args) {
  // The logs and the file first: a wrong name costs nothing, the ECU
  // several seconds.
  const std::optional<std::vector<DataLog>> logs = ReadLogs(args.logs);
  if (!logs) return kExitUsage;
  CalibrationSnapshot calibration;
  if (!args.setup.empty()) {
    calibration = SnapshotOfSetupFile(args.setup);
    if (!ReportCalibration(calibration)) return kExitUsage;
  } else {
    if (!session.Connect()) return kExitNoAnswer;
    calibration = ReadEcuCalibration(session);
    if (!ReportCalibration(calibration)) return kExitNoAnswer;
  }
  const CalibrationForAdvice known = ForAdvice(calibration);
  if (!known.axes) {
    std::fprintf(stderr,
                 "ecu-cli: %s gives no FS_RPM or MAP_TYPE, so the cells of "
                 "the map cannot be placed\n",
                 calibration.source.c_str());
    return args.setup.empty() ? kExitNoAnswer : kExitUsage;
  }
  if (!known.load_known) {
    std::fprintf(stderr,
                 "ecu-cli: OPTIONS is unknown; the map's load is taken as "
                 "the manifold pressure\n");
  }

  AdvisorInputs inputs;
  for (const DataLog& log : *logs) inputs.logs.push_back(&log);
  inputs.map = known.map;
  inputs.axes = *known.axes;
  if (args.target == "ego") {
    inputs.target.ego_grid = known.ego_grid;
  } else {
    std::string problem;
    inputs.target.fixed = CheckedDecimalNumber(args.target, kLowestLambda,
                                               kHighestLambda, &problem);
  }
  args.settings.spread_over_neighbours = !args.nearest;
  args.settings.skip_unvisited = !args.fill_unvisited;
  inputs.settings = args.settings;

  const Advice advice = AdviseMap(inputs);
  const MixtureUnits units{args.afr > 0,
                           args.afr > 0 ? args.afr : MixtureUnits::kGasoline};
  if (advice.changed_cells > 0) {
    for (const std::string& line :
         ChangedCellLines(advice, inputs.axes, units)) {
      std::printf("%s\n", line.c_str());
    }
  }
  std::printf("%s\n", AdviceSummary(advice, inputs.settings).c_str());
  std::printf("%s\n",
              MapErrorSummary(MeasureMapError(inputs.logs, inputs.axes,
                                              inputs.target, inputs.settings),
                              units)
                  .c_str());
  if (!args.out.empty() && !WriteAdvisedSetup(args, calibration, advice)) {
    return kExitNoAnswer;
  }
  return args.setup.empty() ? session.Finish() : kExitOk;
}

void AddSettings(CLI::App& advise, AdviseArguments& args) {
  using command_line::AddDecimalNumber;
  AdvisorSettings& s = args.settings;
  AddDecimalNumber(advise, "--min-samples", &s.min_samples, 0, 1e6,
                   "samples' worth a cell needs before it changes (a sample "
                   "counts by its share of the cell), 5 unless given")
      ->type_name("N");
  AddDecimalNumber(advise, "--max-change", &s.max_change_percent, 0, 100,
                   "the most a cell changes in one pass, either way, 15 "
                   "unless given")
      ->type_name("PCT");
  AddDecimalNumber(advise, "--min-clt", &s.min_clt_c, -40, 150,
                   "coolant below which samples are left out, 70 unless "
                   "given")
      ->type_name("C");
  AddDecimalNumber(advise, "--max-tps-rate", &s.max_tps_rate, 0, 10000,
                   "throttle change (percent a second) above which samples "
                   "are left out, 10 unless given")
      ->type_name("R");
  command_line::AddSeconds(advise, "--settle", &s.settle_s, 10,
                           "seconds left out after such a change, 0.5 unless "
                           "given");
  advise.add_flag("--nearest", args.nearest,
                  "count each sample whole for its nearest cell instead of "
                  "sharing it by nearness among the four around it");
  command_line::AddDecimalNumber(advise, "--afr", &args.afr,
                                 MixtureUnits::kLowestRatio,
                                 MixtureUnits::kHighestRatio,
                                 "print mixture as air/fuel ratio for a fuel "
                                 "of this stoichiometric ratio (14.7 "
                                 "gasoline, 9.8 E85, 6.4 methanol); lambda "
                                 "unless given")
      ->type_name("RATIO");
  advise.add_flag("--fill-unvisited", args.fill_unvisited,
                  "give cells no sample came near the mean change of the "
                  "changed cells beside them");
}

}  // namespace

void AddAdviseCommand(CliCommands& commands) {
  auto args = std::make_shared<AdviseArguments>();
  CLI::App* advise = commands.Add(
      "advise",
      "Propose a fuel map that hits the lambda targets, from data logs",
      [args](CliSession& s) { return RunAdvise(s, *args); });
  advise
      ->add_option("LOGS", args->logs,
                   "data logs (.CSV) of the plotter or "
                   "'ecu-cli log'")
      ->required()
      ->type_name("");
  advise
      ->add_option("--setup", args->setup,
                   "the calibration the logs were driven on; the ECU's "
                   "unless given")
      ->type_name("FILE.SET");
  advise
      ->add_option("--target", args->target,
                   "ego for the EGO set-point grid (unless given), or one "
                   "lambda from 0.5 to 1.6")
      ->type_name("ego|LAMBDA")
      ->check([](const std::string& text) {
        std::string problem;
        if (text == "ego" || CheckedDecimalNumber(text, kLowestLambda,
                                                  kHighestLambda, &problem)) {
          return std::string();
        }
        return "'" + text + "' is neither ego nor a lambda from 0.5 to 1.6";
      });
  advise
      ->add_option("--out", args->out,
                   "write the calibration with the new map to this setup "
                   "file; nothing is sent to the ECU")
      ->type_name("NEW.SET");
  AddSettings(*advise, *args);
  advise->footer(
      "Prints the cells that change (their speed and load, samples, lambda "
      "with the EGO correction's share taken out, target, gain, new gain, "
      "change) and a summary. Exit status: 0 done; 1 the ECU did not answer "
      "or NEW.SET could not be written; 2 the command line was not "
      "understood, or a log or FILE.SET could not be read.");
}

}  // namespace ecu::cli

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/cli/cli_commands.h"
#include "app/cli/snapshot_reading.h"
#include "core/workbench/calibration_diff.h"

namespace ecu::cli {
namespace {

// As diff(1): 0 the same, 1 different, 2 trouble.
constexpr int kSame = 0;
constexpr int kDifferent = 1;
constexpr int kTrouble = 2;

struct DiffArguments {
  bool ecu = false;
  std::vector<std::string> files;
};

int RunDiff(CliSession& session, const DiffArguments& args) {
  if (args.files.size() != (args.ecu ? 1u : 2u)) {
    std::fprintf(stderr,
                 "ecu-cli: diff takes A.SET B.SET, or --ecu FILE.SET (see "
                 "--help)\n");
    return kTrouble;
  }
  CalibrationSnapshot b = SnapshotOfSetupFile(args.files.back());
  // The file first: a wrong name costs nothing, the ECU several seconds.
  if (!b.trouble.empty()) {
    ReportCalibration(b);
    return kTrouble;
  }
  CalibrationSnapshot a;
  if (args.ecu) {
    if (!session.Connect()) return kTrouble;
    a = ReadEcuCalibration(session);
  } else {
    a = SnapshotOfSetupFile(args.files.front());
  }
  const bool usable = ReportCalibration(a) && ReportCalibration(b);
  if (!usable) return kTrouble;
  const CalibrationComparison result =
      CompareCalibrations(a, b, session.ctx.live);
  if (result.count() > 0) {
    std::printf("A: %s\nB: %s\n", a.source.c_str(), b.source.c_str());
    for (const std::string& line : ComparisonLines(result)) {
      std::printf("%s\n", line.c_str());
    }
  }
  // A comparison with lines left out or reads unanswered is not a clean
  // answer either way.
  if (!a.problems.empty() || !b.problems.empty() || a.unanswered_reads > 0) {
    return kTrouble;
  }
  return result.count() > 0 ? kDifferent : kSame;
}

}  // namespace

void AddDiffCommand(CliCommands& commands) {
  auto args = std::make_shared<DiffArguments>();
  CLI::App* diff = commands.Add(
      "diff", "Compare two setup files, or the ECU against one, item by item",
      [args](CliSession& s) { return RunDiff(s, *args); });
  diff->add_flag("--ecu", args->ecu,
                 "compare the ECU (A) against FILE (B), reading it as a save "
                 "does; nothing is written");
  diff->add_option("FILES", args->files, "A.SET B.SET, or with --ecu FILE.SET")
      ->required()
      ->type_name("");
  diff->footer(
      "Prints each differing item on one line, grouped by table: the key, A "
      "and B in engineering units with the raw value in brackets, and B - A. "
      "Exit status as diff(1): 0 no difference, 1 differences, 2 trouble (a "
      "file that cannot be read or has lines naming no item, or an ECU that "
      "does not answer).");
}

}  // namespace ecu::cli

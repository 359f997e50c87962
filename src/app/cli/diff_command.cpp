#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/cli/cli_commands.h"
#include "app/cli/setup_file_command.h"
#include "core/workbench/calibration_diff.h"
#include "core/workbench/ecu_snapshot.h"

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

// Says what is wrong with a side; true when it can be compared at all.
bool Usable(const CalibrationSnapshot& side) {
  if (!side.trouble.empty()) {
    std::fprintf(stderr, "ecu-cli: %s\n", side.trouble.c_str());
    return false;
  }
  for (const SnapshotProblem& p : side.problems) {
    std::fprintf(stderr, "ecu-cli: %s line %d: %s\n", side.source.c_str(),
                 p.line, p.reason.c_str());
  }
  if (side.unanswered_reads > 0) {
    std::fprintf(stderr,
                 "ecu-cli: %d reads of the ECU went unanswered; their items "
                 "show as unknown\n",
                 side.unanswered_reads);
  }
  return true;
}

CalibrationSnapshot ReadEcu(CliSession& session) {
  SetupFileCommand progress(session);
  progress.bar().BeginBusy();
  CalibrationSnapshot ecu = ReadEcuSnapshot(
      session.ctx.link, session.ctx.image, [&](int done, int total) {
        progress.bar().ShowProgress(static_cast<double>(done) / total);
      });
  progress.bar().EndBusy();
  return ecu;
}

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
    Usable(b);
    return kTrouble;
  }
  CalibrationSnapshot a;
  if (args.ecu) {
    if (!session.Connect()) return kTrouble;
    a = ReadEcu(session);
  } else {
    a = SnapshotOfSetupFile(args.files.front());
  }
  const bool usable = Usable(a) && Usable(b);
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

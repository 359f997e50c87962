#include "app/cli/snapshot_reading.h"

#include <cstdio>

#include "app/cli/setup_file_command.h"
#include "core/workbench/ecu_snapshot.h"

namespace ecu::cli {

CalibrationSnapshot ReadEcuCalibration(CliSession& session) {
  SetupFileCommand progress(session);
  progress.bar().BeginBusy();
  CalibrationSnapshot ecu = ReadEcuSnapshot(
      session.ctx.link, session.ctx.image, [&](int done, int total) {
        progress.bar().ShowProgress(static_cast<double>(done) / total);
      });
  progress.bar().EndBusy();
  return ecu;
}

bool ReportCalibration(const CalibrationSnapshot& calibration) {
  if (!calibration.trouble.empty()) {
    std::fprintf(stderr, "ecu-cli: %s\n", calibration.trouble.c_str());
    return false;
  }
  for (const SnapshotProblem& p : calibration.problems) {
    std::fprintf(stderr, "ecu-cli: %s line %d: %s\n",
                 calibration.source.c_str(), p.line, p.reason.c_str());
  }
  if (calibration.unanswered_reads > 0) {
    std::fprintf(stderr,
                 "ecu-cli: %d reads of the ECU went unanswered; their items "
                 "show as unknown\n",
                 calibration.unanswered_reads);
  }
  return true;
}

}  // namespace ecu::cli

#ifndef ECU_APP_CLI_SNAPSHOT_READING_H_
#define ECU_APP_CLI_SNAPSHOT_READING_H_

#include "app/cli/cli_session.h"
#include "core/workbench/calibration_snapshot.h"

namespace ecu::cli {

// Reads the ECU's whole calibration as a save does (nothing is written),
// with the progress bar on a terminal.
CalibrationSnapshot ReadEcuCalibration(CliSession& session);

// Says on stderr what is wrong with a calibration: why it could not be had
// at all (then false), lines that named no item, unanswered reads.
bool ReportCalibration(const CalibrationSnapshot& calibration);

}  // namespace ecu::cli

#endif  // ECU_APP_CLI_SNAPSHOT_READING_H_

#ifndef ECU_CORE_WORKBENCH_ECU_SNAPSHOT_H_
#define ECU_CORE_WORKBENCH_ECU_SNAPSHOT_H_

#include <functional>

#include "core/calibration/calibration_image.h"
#include "core/link/ecu_link.h"
#include "core/workbench/calibration_snapshot.h"

namespace ecu {

// Reads the ECU's whole calibration with the reads a setup-file save makes,
// in its order, and writes nothing. Progress counts every read (410).
// A read the ECU leaves unanswered leaves its items unknown; when the first
// read or three reads in a row go unanswered the ECU is taken as silent and
// the snapshot as trouble. In demo mode there is no ECU to read.
CalibrationSnapshot ReadEcuSnapshot(
    EcuLink& link, CalibrationImage& image,
    const std::function<void(int done, int total)>& progress = {});

inline constexpr int kEcuSnapshotReads = 410;

}  // namespace ecu

#endif  // ECU_CORE_WORKBENCH_ECU_SNAPSHOT_H_

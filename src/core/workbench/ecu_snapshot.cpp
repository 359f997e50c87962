#include "core/workbench/ecu_snapshot.h"

#include "core/calibration/calibration_reads.h"

namespace ecu {
namespace {

constexpr int kSilentReadsForNoEcu = 3;
constexpr char kNoAnswer[] =
    "The ECU did not answer; nothing was compared. Check the cable, the "
    "power and the port in the Comm menu.";

}  // namespace

CalibrationSnapshot ReadEcuSnapshot(
    EcuLink& link, CalibrationImage& image,
    const std::function<void(int done, int total)>& progress) {
  CalibrationSnapshot snapshot;
  snapshot.source = "ECU";
  if (link.state().demo_mode) {
    snapshot.trouble =
        "The console runs in demo mode: there is no ECU to read.";
    return snapshot;
  }
  int done = 0;
  auto step = [&] {
    ++done;
    if (progress) progress(done, kEcuSnapshotReads);
  };
  CalibrationReads reads(link, image);
  bool silent = false;
  reads.RefreshHolders([&] {
    // After a silent first read, or a run of silence, the rest would only
    // cost a second and a message each.
    silent = (done == 0 && reads.silent_in_a_row() > 0) ||
             reads.silent_in_a_row() >= kSilentReadsForNoEcu;
    step();
    return !silent;
  });
  if (silent) {
    snapshot.trouble = kNoAnswer;
    return snapshot;
  }
  for (const ScalarItem& item : AllScalars()) {
    if (reads.Answered(item)) snapshot.set_scalar(item, image.scalar(item));
  }
  snapshot.unanswered_reads =
      CalibrationReads::kHolderReadCount - reads.answered_holder_reads();
  for (const TableItem& table : AllTables()) {
    for (int i = 0; i < table.count; ++i) {
      if (const std::optional<int32_t> value = reads.ReadElement(table, i)) {
        snapshot.set_element(table, i, *value);
      } else if (table.cells != CellKind::kPhaseCell) {
        ++snapshot.unanswered_reads;
      }
      if (table.cells != CellKind::kPhaseCell) step();
      if (reads.silent_in_a_row() >= kSilentReadsForNoEcu) {
        snapshot.trouble = kNoAnswer;
        return snapshot;
      }
    }
  }
  return snapshot;
}

}  // namespace ecu

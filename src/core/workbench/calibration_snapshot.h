#ifndef ECU_CORE_WORKBENCH_CALIBRATION_SNAPSHOT_H_
#define ECU_CORE_WORKBENCH_CALIBRATION_SNAPSHOT_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/calibration/catalogue.h"
#include "core/link/live_data.h"

namespace ecu {

// A line of a setup file that named no item, and why.
struct SnapshotProblem {
  int line = 0;  // from 1
  std::string reason;
};

// A whole calibration as raw values, the way a setup file holds them (each
// scalar once, every table element), taken from a file or read from the
// ECU. A value nobody gave (a line missing from the file, a read the ECU
// left unanswered) is unknown, never 0.
class CalibrationSnapshot {
 public:
  CalibrationSnapshot();

  std::optional<int32_t> scalar(const ScalarItem& item) const;
  void set_scalar(const ScalarItem& item, int32_t raw);
  std::optional<int32_t> element(const TableItem& table, int index) const;
  void set_element(const TableItem& table, int index, int32_t raw);

  // The scaling its own FS_RPM and MAP_TYPE imply, each taken from
  // `fallback` where the snapshot lacks it, so that values in engineering
  // units read as the ECU holding this calibration would show them.
  LiveData Scale(const LiveData& fallback) const;
  // Items (scalars and table elements) whose value is unknown.
  int UnknownCount() const;

  // "ECU" or the file's path, for captions.
  std::string source;
  // Why nothing could be taken (the file could not be read, the ECU did not
  // answer); empty when the snapshot holds what could be had.
  std::string trouble;
  // Lines of a file that named no item.
  std::vector<SnapshotProblem> problems;
  // Reads of the ECU that went unanswered: their items are unknown.
  int unanswered_reads = 0;

 private:
  std::vector<std::optional<int32_t>> scalars_;
  std::vector<std::vector<std::optional<int32_t>>> tables_;
};

// A setup file as a snapshot. Lines are read as the loader reads them; a
// key given twice keeps its last value, as a load would leave it. A file
// that cannot be read, or that is far too large to be a setup file, is
// trouble.
CalibrationSnapshot SnapshotOfSetupFile(const std::string& path);
// The same from the text of a file (CR LF or LF line ends).
CalibrationSnapshot SnapshotOfSetupText(std::string_view text);

}  // namespace ecu

#endif  // ECU_CORE_WORKBENCH_CALIBRATION_SNAPSHOT_H_

#ifndef ECU_CORE_WORKBENCH_CALIBRATION_COPY_H_
#define ECU_CORE_WORKBENCH_CALIBRATION_COPY_H_

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/calibration/calibration_image.h"
#include "core/link/ecu_link.h"
#include "core/workbench/calibration_diff.h"
#include "core/workbench/calibration_snapshot.h"

namespace ecu {

// What became of one item written to the ECU.
struct CopiedItem {
  const ItemDifference* item = nullptr;
  // What the ECU now holds by its echo; nothing when it did not answer.
  std::optional<int32_t> held;
};

struct CopyReport {
  std::vector<CopiedItem> items;
  int unanswered = 0;
  int unknown = 0;  // items the source has no value for: not written
};

// Writes the source's values of the given items into the ECU, each with its
// write command and a 5 ms pause after it, as a load writes its lines. An
// unanswered write is told by the link and the copy goes on; an item the
// source has no value for is never written. Progress is (done, total).
CopyReport CopyToEcu(EcuLink& link, const CalibrationImage& image,
                     const CalibrationSnapshot& source,
                     const std::vector<const ItemDifference*>& items,
                     const std::function<void(int, int)>& progress = {});

}  // namespace ecu

#endif  // ECU_CORE_WORKBENCH_CALIBRATION_COPY_H_

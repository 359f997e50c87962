#include "core/workbench/calibration_copy.h"

#include "core/calibration/calibration_requests.h"

namespace ecu {
namespace {

constexpr double kWritePause = 0.005;

}  // namespace

CopyReport CopyToEcu(EcuLink& link, const CalibrationImage& image,
                     const CalibrationSnapshot& source,
                     const std::vector<const ItemDifference*>& items,
                     const std::function<void(int, int)>& progress) {
  CopyReport report;
  const int total = static_cast<int>(items.size());
  int done = 0;
  for (const ItemDifference* item : items) {
    if (progress) progress(done++, total);
    const std::optional<int32_t> raw =
        item->scalar != nullptr ? source.scalar(*item->scalar)
                                : source.element(*item->table, item->index);
    if (!raw) {
      ++report.unknown;
      continue;
    }
    const CommandOutcome outcome =
        item->scalar != nullptr
            ? WriteScalar(link, *item->scalar, *raw)
            : WriteCell(link, *item->table, item->index, *raw);
    link.Pause(kWritePause);
    CopiedItem copied;
    copied.item = item;
    // In demo mode nothing went out, so nothing was taken.
    if (!outcome.answered()) {
      ++report.unanswered;
    } else if (item->table != nullptr &&
               item->table->cells != CellKind::kPhaseCell) {
      copied.held = item->table->cells == CellKind::kWordCell
                        ? image.last_word_element()
                        : image.last_byte_element();
    } else if (item->scalar != nullptr && item->scalar->echo_sets_holder) {
      copied.held = image.scalar(*item->scalar);
    } else {
      // These echoes refresh only the editor field: the ECU took the value.
      copied.held = *raw;
    }
    report.items.push_back(copied);
  }
  if (progress && total > 0) progress(total, total);
  return report;
}

}  // namespace ecu

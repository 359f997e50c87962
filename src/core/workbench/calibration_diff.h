#ifndef ECU_CORE_WORKBENCH_CALIBRATION_DIFF_H_
#define ECU_CORE_WORKBENCH_CALIBRATION_DIFF_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/calibration/catalogue.h"
#include "core/link/live_data.h"
#include "core/workbench/calibration_snapshot.h"

namespace ecu {

// One item whose value differs between calibration A and B.
struct ItemDifference {
  std::string name;  // "ACC_SEN", "MAPM[017]"
  const ScalarItem* scalar = nullptr;
  const TableItem* table = nullptr;  // for an element
  int index = 0;
  // Raw values as the ECU holds them (a signed byte as its signed number
  // where the setup file keeps that); nothing when unknown on that side.
  std::optional<int32_t> raw_a;
  std::optional<int32_t> raw_b;
  // In engineering units, each scaled as its own calibration reads; empty
  // when unknown or when the count has no value (a set point of raw 0).
  std::string value_a;
  std::string value_b;
  // B - A in engineering units, with its sign; nothing for a choice or a set
  // of bits, or when a side has no value.
  std::optional<double> delta;
  std::string difference;
};

// The differences of one table (or of the scalar constants), in file order.
struct DifferenceGroup {
  std::string name;  // the table key, or "Constants"
  std::string_view meaning;
  const TableItem* table = nullptr;  // nullptr for the constants
  int item_count = 0;                // items compared in the group
  std::vector<ItemDifference> items;
};

struct CalibrationComparison {
  // Only groups with a difference, constants first, then the tables in file
  // order.
  std::vector<DifferenceGroup> groups;
  int count() const;
};

// Item by item: values known on one side only differ; unknown on both sides
// do not. `fallback` scales what a snapshot does not scale itself.
CalibrationComparison CompareCalibrations(const CalibrationSnapshot& a,
                                          const CalibrationSnapshot& b,
                                          const LiveData& fallback);

// One line a group ("MAPM: fuel map gain, 2 of 256 differ") and one line an
// item ("MAPM[017]  1.25 (160)  1.50 (192)  +.25"), unknowns as "unknown".
std::vector<std::string> ComparisonLines(const CalibrationComparison& result);

}  // namespace ecu

#endif  // ECU_CORE_WORKBENCH_CALIBRATION_DIFF_H_

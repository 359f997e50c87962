#ifndef ECU_CORE_WORKBENCH_COMPARE_MODEL_H_
#define ECU_CORE_WORKBENCH_COMPARE_MODEL_H_

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/calibration/calibration_image.h"
#include "core/console/file_commands.h"
#include "core/editors/editor_colours.h"
#include "core/link/ecu_link.h"
#include "core/link/live_data.h"
#include "core/workbench/calibration_diff.h"
#include "core/workbench/calibration_snapshot.h"

namespace ecu {

// The compare window: calibration A (the ECU or a setup file) against B (a
// setup file), every item that differs, and the items picked to be copied
// from B into the ECU. Nothing is written unless Copy is asked for.
class CompareModel {
 public:
  CompareModel(EcuLink& link, CalibrationImage& image, const LiveData& live,
               BusyView& busy);

  bool a_is_ecu = true;
  std::string a_path;
  std::string b_path;

  // Reads A and B and compares them. Trouble on either side (a file that
  // cannot be read, a silent ECU) is told and keeps the last comparison;
  // lines of a file that name no item are told and left out. Run it when
  // the link is idle.
  bool Compare();
  bool compared() const { return compared_; }
  const CalibrationComparison& comparison() const { return comparison_; }
  const CalibrationSnapshot& a() const { return a_; }
  const CalibrationSnapshot& b() const { return b_; }
  // "3 items differ between A (ECU) and B (TUNE.SET)."
  std::string Summary() const;

  // Picking for the copy. An item B has no value for cannot be picked.
  static bool Pickable(const ItemDifference& item) {
    return item.raw_b.has_value();
  }
  void SetPicked(const std::string& name, bool picked);
  bool picked(const std::string& name) const { return picked_.contains(name); }
  void PickAll(bool picked);
  int picked_count() const { return static_cast<int>(picked_.size()); }
  // After the "CAUTION!" question, writes B's values of the picked items
  // into the ECU with their write commands, with progress. When A is the
  // ECU, A follows what the ECU echoed and the list is compared afresh.
  void CopyPicked();

  // The fuel map and curve grids: a cell's text (B's value, A's where B has
  // none) and its colour by B - A, scaled by the table's largest
  // difference: white where they agree, red where B is higher, blue where
  // it is lower, grey where a side is unknown.
  const ItemDifference* Find(const TableItem& table, int index) const;
  std::string GridText(const TableItem& table, int index) const;
  Rgb GridColour(const TableItem& table, int index) const;

  bool running() const { return running_; }
  // Called whenever the comparison, the picks or running changed.
  void set_changed(std::function<void()> f) { changed_ = std::move(f); }

 private:
  bool ReadSides();
  void Recompare();
  void Changed();

  EcuLink& link_;
  CalibrationImage& image_;
  const LiveData& live_;
  BusyView& busy_;
  CalibrationSnapshot a_;
  CalibrationSnapshot b_;
  CalibrationComparison comparison_;
  bool compared_ = false;
  bool running_ = false;
  std::set<std::string> picked_;
  std::function<void()> changed_;
};

// The colour of a difference among differences up to `largest` (both
// magnitudes): stronger the larger it is.
Rgb DifferenceColour(double delta, double largest);

}  // namespace ecu

#endif  // ECU_CORE_WORKBENCH_COMPARE_MODEL_H_

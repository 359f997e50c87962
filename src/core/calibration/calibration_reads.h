#ifndef ECU_CORE_CALIBRATION_CALIBRATION_READS_H_
#define ECU_CORE_CALIBRATION_CALIBRATION_READS_H_

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "core/calibration/calibration_image.h"
#include "core/link/ecu_link.h"

namespace ecu {

// The reads that take the whole calibration out of the ECU, in the order a
// setup-file save makes them: 31 reads that refresh every scalar holder and
// the phase table, each after a 0.1 s pause, then every table element
// without a pause. Nothing is written to the ECU.
class CalibrationReads {
 public:
  CalibrationReads(EcuLink& link, CalibrationImage& image);

  static constexpr int kHolderReadCount = 31;

  // The 31 holder reads, `after_each` called after each (for progress); the
  // reads stop early when it returns false. Each read that the ECU answered
  // is noted, so that a holder it left untouched is known to be stale.
  void RefreshHolders(const std::function<bool()>& after_each = {});
  // Whether the read that delivers a scalar (its block or its own read), or
  // the phase table, was answered by the last RefreshHolders().
  bool Answered(const ScalarItem& item) const;
  bool PhaseTableAnswered() const;
  int answered_holder_reads() const {
    return static_cast<int>(answered_.size());
  }

  // Element `index` of a table: the ECU's answer, or nothing when it gave
  // none. The phase table comes from the holder RefreshHolders() filled.
  std::optional<int32_t> ReadElement(const TableItem& table, int index);

  // The item whose read the ECU left unanswered first: a block's first
  // item ("FUEL_B" for "B"), a scalar, "PTBL", or an element such as
  // "MAPM[012]". Empty while every read was answered.
  const std::string& first_unanswered() const { return first_unanswered_; }

  // Reads in a row that the ECU left unanswered; an answer resets it.
  int silent_in_a_row() const { return silent_in_a_row_; }

 private:
  // Sends one read; true when it was answered. `item` names what it reads.
  bool Read(const std::string& command, std::string_view item);

  EcuLink& link_;
  CalibrationImage& image_;
  std::set<uint8_t> answered_;
  int silent_in_a_row_ = 0;
  std::string first_unanswered_;
};

}  // namespace ecu

#endif  // ECU_CORE_CALIBRATION_CALIBRATION_READS_H_

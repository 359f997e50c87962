#ifndef ECU_CORE_EDITORS_AXIS_POINTER_H_
#define ECU_CORE_EDITORS_AXIS_POINTER_H_

#include <optional>

namespace ecu {

// A live marker on an editor's axis: placed at begin + fraction x (end -
// begin), in whole units, and moved (repainted) only when that position
// changes, which keeps the 100 ms refresh cheap.
class AxisPointer {
 public:
  // `limited` holds the marker within the axis; otherwise it may run past
  // either end, as the live value does.
  explicit AxisPointer(bool limited = false) : limited_(limited) {}

  // The position for `fraction` on an axis from `begin` to `end`. A
  // fraction that is not a number (no full scale yet) puts it at the start.
  int PositionFor(double fraction, int begin, int end) const;
  // Moves the marker; true when its position changed.
  bool Move(double fraction, int begin, int end);
  std::optional<int> position() const { return position_; }

 private:
  bool limited_;
  std::optional<int> position_;
};

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_AXIS_POINTER_H_

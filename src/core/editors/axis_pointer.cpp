#include "core/editors/axis_pointer.h"

#include <algorithm>
#include <cmath>

#include "core/numbers/rounding.h"

namespace ecu {

int AxisPointer::PositionFor(double fraction, int begin, int end) const {
  if (!std::isfinite(fraction)) fraction = 0;
  // Far past the axis is as good as a little past it, and stays an int.
  fraction = std::clamp(fraction, -10.0, 10.0);
  int position =
      begin + static_cast<int>(RoundHalfEven(fraction * (end - begin)));
  if (limited_) {
    position = std::clamp(position, std::min(begin, end), std::max(begin, end));
  }
  return position;
}

bool AxisPointer::Move(double fraction, int begin, int end) {
  const int position = PositionFor(fraction, begin, end);
  if (position_ == position) return false;
  position_ = position;
  return true;
}

}  // namespace ecu

#include "core/platform/clock.h"

#include <algorithm>

namespace ecu {

double BoundedWait(double seconds) {
  // Written so that not-a-number fails the first test.
  if (!(seconds > 0)) return 0;
  return std::min(seconds, kLongestWaitSeconds);
}

float ElapsedSince(float since, float now) {
  float elapsed = now - since;
  if (elapsed < -0.1f) elapsed += 86400.0f;
  return elapsed;
}

}  // namespace ecu

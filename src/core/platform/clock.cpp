#include "core/platform/clock.h"

namespace ecu {

float ElapsedSince(float since, float now) {
  float elapsed = now - since;
  if (elapsed < -0.1f) elapsed += 86400.0f;
  return elapsed;
}

}  // namespace ecu

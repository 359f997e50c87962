#include "core/console/sample_rate.h"

namespace ecu {
namespace {

constexpr double kSpanSeconds = 1.0;

}  // namespace

void SampleRate::Count(double seconds) {
  if (!span_start_ || seconds < *span_start_) {
    // The first sample opens the span; a clock that went back starts over.
    span_start_ = seconds;
    in_span_ = 0;
    return;
  }
  ++in_span_;
  const double span = seconds - *span_start_;
  if (span < kSpanSeconds) return;
  per_second_ = in_span_ / span;
  span_start_ = seconds;
  in_span_ = 0;
}

}  // namespace ecu

#ifndef ECU_CORE_CONSOLE_SAMPLE_RATE_H_
#define ECU_CORE_CONSOLE_SAMPLE_RATE_H_

#include <optional>

namespace ecu {

// Samples a second as a log at the line's rate achieves them, measured
// over whole spans of about a second so the figure settles instead of
// flickering with every reply.
class SampleRate {
 public:
  // One sample taken `seconds` into the run (any steady origin).
  void Count(double seconds);
  // Nothing until a first span has been measured.
  std::optional<double> per_second() const { return per_second_; }
  void Restart() { *this = SampleRate(); }

 private:
  std::optional<double> span_start_;
  int in_span_ = 0;
  std::optional<double> per_second_;
};

}  // namespace ecu

#endif  // ECU_CORE_CONSOLE_SAMPLE_RATE_H_

#ifndef ECU_SIM_REPLY_FAULTS_H_
#define ECU_SIM_REPLY_FAULTS_H_

#include <string>
#include <vector>

#include "sim/sim_options.h"
#include "sim/transmission.h"

namespace ecu::sim {

// One reply as it goes out, and what was done to it (for the log).
struct ShapedReply {
  std::vector<Transmission> chunks;  // empty when the reply was dropped
  std::string faults;                // e.g. "bad checksum, split"
};

// Spoils replies the way a bad line or a confused ECU would, as the options
// ask. Replies are counted from 1; a reply due for several faults gets all of
// them, except that a dropped one gets nothing else.
class ReplyFaults {
 public:
  explicit ReplyFaults(const SimOptions& options);

  // Sends a good reply frame through the faults due for the next reply.
  ShapedReply Shape(const std::string& frame);

  // Other faults from now on; the count of replies goes on.
  void set_options(const SimOptions& options) { options_ = options; }

  // Replies made so far, dropped ones included.
  int replies() const { return replies_; }

 private:
  bool Due(int every) const { return every > 0 && replies_ % every == 0; }

  SimOptions options_;
  int replies_ = 0;
};

// The same reply with one data byte fewer, framed correctly: length byte and
// checksum agree, so only the length expected for the code tells it is
// wrong. A reply without data gains a byte instead, to be wrong all the same.
std::string WithWrongLength(const std::string& frame);

}  // namespace ecu::sim

#endif  // ECU_SIM_REPLY_FAULTS_H_

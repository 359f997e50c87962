#ifndef ECU_SIM_TRANSMISSION_H_
#define ECU_SIM_TRANSMISSION_H_

#include <string>

namespace ecu::sim {

// A chunk of reply bytes and the silence before it: counted from the end of
// the previous chunk, or for the first chunk from the moment the request was
// complete.
struct Transmission {
  std::string bytes;
  double delay_s = 0.0;
};

}  // namespace ecu::sim

#endif  // ECU_SIM_TRANSMISSION_H_

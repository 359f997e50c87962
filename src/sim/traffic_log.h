#ifndef ECU_SIM_TRAFFIC_LOG_H_
#define ECU_SIM_TRAFFIC_LOG_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace ecu::sim {

// A command code as people read it: 'A' when printable, #152 otherwise.
std::string CodeName(uint8_t code);

// Bytes as upper-case hex pairs separated by spaces: "02 08 41".
std::string HexBytes(std::string_view bytes);

// One line of the traffic log, e.g.
//   "   12.345678 rx 'A' 02 08 41 30 30 30 DB 00"
//   "   12.360000 tx 'A' 02 19 41 ... [bad checksum]"
// The code is taken from byte 2 when there is one.
std::string TrafficLine(double time_s, std::string_view direction,
                        std::string_view bytes, std::string_view note = {});

}  // namespace ecu::sim

#endif  // ECU_SIM_TRAFFIC_LOG_H_

#ifndef ECU_TESTS_SUPPORT_WIRE_BYTES_H_
#define ECU_TESTS_SUPPORT_WIRE_BYTES_H_

#include <initializer_list>
#include <string>
#include <string_view>

#include "core/link/frame.h"
#include "sim/virtual_ecu.h"

namespace ecu::testing {

// Bytes as written in a protocol table.
inline std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes.push_back(static_cast<char>(v));
  return bytes;
}

// Everything the virtual ECU sends back for one request, chunks joined.
inline std::string Ask(sim::VirtualEcu& ecu, std::string_view command,
                       double now = 0) {
  std::string reply;
  for (const sim::Transmission& t : ecu.Receive(BuildRequest(command), now)) {
    reply += t.bytes;
  }
  return reply;
}

}  // namespace ecu::testing

#endif  // ECU_TESTS_SUPPORT_WIRE_BYTES_H_

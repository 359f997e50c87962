#ifndef ECU_CORE_LINK_LINK_STATE_H_
#define ECU_CORE_LINK_LINK_STATE_H_

#include <cstdint>
#include <string>

namespace ecu {

// The serial link's state, read by every window.
struct LinkState {
  // Port number read from port.cfg at start-up (COM1..COM6 are offered in
  // the Comm menu; any number read is used). 0 when the file named a device
  // path or held nothing.
  int16_t port_number = 0;
  // The device the link opens: "/dev/ttyS(n-1)" for a number n, the path as
  // it stands for a path; empty when no port has been chosen.
  std::string port_device;
  // The Comm menu entry that carries the check mark, 1..6, or 0 for none.
  int checked_port_entry = 0;
  // The link may be used; the polling loop waits for it.
  bool port_ready = false;
  // No serial traffic while set; once set it stays set.
  bool demo_mode = false;
  // The open port went away (adapter pulled, the far end of a pty gone).
  // Nothing is sent until the same device opens again.
  bool port_lost = false;
  // Seconds since midnight at which bytes last arrived or a window last asked
  // for the link; the reply watchdog measures from here.
  float last_receive_time = 0.0f;
};

}  // namespace ecu

#endif  // ECU_CORE_LINK_LINK_STATE_H_

#ifndef ECU_QT_PRESENT_PORTS_H_
#define ECU_QT_PRESENT_PORTS_H_

#include <vector>

#include "core/link/ecu_detection.h"

namespace ecu {

// The serial ports the system lists now (pseudo-terminals are not among
// them), by device path.
std::vector<PresentPort> PresentPorts();

}  // namespace ecu

#endif  // ECU_QT_PRESENT_PORTS_H_

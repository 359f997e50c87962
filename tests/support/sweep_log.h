#ifndef ECU_TESTS_SUPPORT_SWEEP_LOG_H_
#define ECU_TESTS_SUPPORT_SWEEP_LOG_H_

#include <string>

namespace ecu::testing {

// A data log of the virtual engine on its sweep (ecu-sim --drive sweep
// with --true-map-error `map_error_percent`), `samples` lines ten to the
// second from 10:00:00, written as the plotter writes them.
std::string SweepLogText(int samples, double map_error_percent);

}  // namespace ecu::testing

#endif  // ECU_TESTS_SUPPORT_SWEEP_LOG_H_

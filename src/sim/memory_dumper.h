#ifndef ECU_SIM_MEMORY_DUMPER_H_
#define ECU_SIM_MEMORY_DUMPER_H_

#include <functional>
#include <string>

#include "sim/calibration_memory.h"
#include "sim/pty_server.h"

namespace ecu::sim {

// Writes the memory as a setup file whenever SIGUSR1 arrives and once more
// when the sim ends. The signal is read from a descriptor by the serving
// loop, so a dump is taken between requests, never from a signal handler in
// the middle of one.
class MemoryDumper {
 public:
  MemoryDumper(const CalibrationMemory& memory, std::string path);
  ~MemoryDumper();
  MemoryDumper(const MemoryDumper&) = delete;
  MemoryDumper& operator=(const MemoryDumper&) = delete;

  // Blocks SIGUSR1 for the process (call before starting other threads and
  // before the device appears, so an early signal dumps rather than kills)
  // and opens its descriptor. False with a reason on failure.
  bool Open(std::string* error);
  // Has the server dump on every SIGUSR1; a failed dump is told to
  // `complain` and the sim goes on.
  void ServeOn(PtyServer& server,
               std::function<void(const std::string&)> complain);
  // Writes the dump now. False with a reason on failure.
  bool Dump(std::string* error) const;

 private:
  // Reads the signals that have come; true when there was at least one.
  bool TakeSignals();

  const CalibrationMemory& memory_;
  std::string path_;
  int signal_fd_ = -1;
};

}  // namespace ecu::sim

#endif  // ECU_SIM_MEMORY_DUMPER_H_

#ifndef ECU_SIM_PTY_SERVER_H_
#define ECU_SIM_PTY_SERVER_H_

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "sim/virtual_ecu.h"

namespace ecu::sim {

// Puts a VirtualEcu on a pseudo-terminal, so the console can open the slave
// device like any serial port. One thread, one poll loop: it sleeps until a
// byte comes in or the next reply byte falls due.
class PtyServer {
 public:
  PtyServer() = default;
  // Closes the terminal and removes the link made by Link().
  ~PtyServer();
  PtyServer(const PtyServer&) = delete;
  PtyServer& operator=(const PtyServer&) = delete;

  // Creates the pseudo-terminal in raw mode. False with a reason on failure.
  bool Open(std::string* error);
  // The slave device the console opens, e.g. /dev/pts/3.
  const std::string& device_path() const { return device_path_; }

  // Makes `path` a symbolic link to the device. An old link there is
  // replaced; anything else there is left alone and makes this fail.
  bool Link(const std::string& path, std::string* error);

  // Serves the ECU until Stop() or a stop signal. Bytes are paced at
  // `seconds_per_byte` each way (0 for no pacing). False if polling failed.
  bool Run(VirtualEcu& ecu, double seconds_per_byte);
  // Ends Run(); safe from any thread.
  void Stop();
  // Calls `on_readable` from Run(), between requests, whenever `fd` can be
  // read (e.g. a signal descriptor). The caller keeps the fd open.
  void Watch(int fd, std::function<void()> on_readable);

  // From now on SIGINT, SIGTERM and SIGHUP end Run() cleanly instead of
  // killing the process. Call before starting other threads.
  static void StopOnSignals();

 private:
  void Unlink();

  int master_fd_ = -1;
  // Held open so the master never reads EIO while no console has the
  // device open, and so the line keeps its settings between consoles.
  int slave_fd_ = -1;
  int wake_read_fd_ = -1;
  int wake_write_fd_ = -1;
  struct Watched {
    int fd;
    std::function<void()> on_readable;
  };
  std::vector<Watched> watched_;
  std::atomic<bool> stop_requested_{false};
  std::string device_path_;
  std::string link_path_;
};

}  // namespace ecu::sim

#endif  // ECU_SIM_PTY_SERVER_H_

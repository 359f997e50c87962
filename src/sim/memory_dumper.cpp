#include "sim/memory_dumper.h"

#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <utility>

#include "sim/memory_dump.h"

namespace ecu::sim {

MemoryDumper::MemoryDumper(const CalibrationMemory& memory, std::string path)
    : memory_(memory), path_(std::move(path)) {}

MemoryDumper::~MemoryDumper() {
  if (signal_fd_ >= 0) close(signal_fd_);
}

bool MemoryDumper::Open(std::string* error) {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGUSR1);
  // Blocked, the signal waits on the descriptor instead of ending the
  // process.
  if (sigprocmask(SIG_BLOCK, &signals, nullptr) != 0) {
    *error = std::string("sigprocmask: ") + std::strerror(errno);
    return false;
  }
  signal_fd_ = signalfd(-1, &signals, SFD_NONBLOCK | SFD_CLOEXEC);
  if (signal_fd_ < 0) {
    *error = std::string("signalfd: ") + std::strerror(errno);
    return false;
  }
  return true;
}

void MemoryDumper::ServeOn(PtyServer& server,
                           std::function<void(const std::string&)> complain) {
  server.Watch(signal_fd_, [this, complain = std::move(complain)] {
    std::string error;
    if (TakeSignals() && !Dump(&error)) complain(error);
  });
}

bool MemoryDumper::Dump(std::string* error) const {
  if (WriteMemoryDump(memory_, path_)) return true;
  *error = "cannot write " + path_;
  return false;
}

bool MemoryDumper::TakeSignals() {
  bool taken = false;
  signalfd_siginfo info;
  while (read(signal_fd_, &info, sizeof info) ==
         static_cast<ssize_t>(sizeof info)) {
    taken = true;
  }
  return taken;
}

}  // namespace ecu::sim

#include "sim/pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <optional>
#include <utility>

#include "core/platform/clock.h"
#include "sim/serial_line.h"

namespace ecu::sim {
namespace {

// Set by the stop signals; the one process-wide flag a handler may touch.
volatile std::sig_atomic_t g_stop_signal = 0;

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};
// How long to leave the master alone after it reported a hang-up, so a
// hang-up that persists does not turn the loop into a spin.
constexpr double kHangUpBackOffS = 0.05;

void OnStopSignal(int) { g_stop_signal = 1; }

std::string ErrorText(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

// Writes what it can. A line with nobody reading it loses bytes rather
// than holding up the ECU.
void WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      return;
    }
  }
}

}  // namespace

PtyServer::~PtyServer() {
  Unlink();
  CloseFd(master_fd_);
  CloseFd(slave_fd_);
  CloseFd(wake_read_fd_);
  CloseFd(wake_write_fd_);
}

bool PtyServer::Open(std::string* error) {
  master_fd_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_fd_ < 0) {
    *error = ErrorText("posix_openpt");
    return false;
  }
  if (grantpt(master_fd_) != 0 || unlockpt(master_fd_) != 0) {
    *error = ErrorText("grantpt/unlockpt");
    return false;
  }
  char name[128];
  if (ptsname_r(master_fd_, name, sizeof name) != 0) {
    *error = ErrorText("ptsname_r");
    return false;
  }
  device_path_ = name;
  slave_fd_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave_fd_ < 0) {
    *error = ErrorText("open slave");
    return false;
  }
  termios settings;
  if (tcgetattr(slave_fd_, &settings) != 0) {
    *error = ErrorText("tcgetattr");
    return false;
  }
  cfmakeraw(&settings);
  cfsetispeed(&settings, B19200);
  cfsetospeed(&settings, B19200);
  if (tcsetattr(slave_fd_, TCSANOW, &settings) != 0) {
    *error = ErrorText("tcsetattr");
    return false;
  }
  const int flags = fcntl(master_fd_, F_GETFL);
  if (flags < 0 || fcntl(master_fd_, F_SETFL, flags | O_NONBLOCK) != 0) {
    *error = ErrorText("fcntl");
    return false;
  }
  int wake[2];
  if (pipe2(wake, O_NONBLOCK | O_CLOEXEC) != 0) {
    *error = ErrorText("pipe2");
    return false;
  }
  wake_read_fd_ = wake[0];
  wake_write_fd_ = wake[1];
  return true;
}

bool PtyServer::Link(const std::string& path, std::string* error) {
  struct stat info;
  if (lstat(path.c_str(), &info) == 0) {
    if (!S_ISLNK(info.st_mode)) {
      *error = path + " exists and is not a symbolic link";
      return false;
    }
    if (unlink(path.c_str()) != 0) {
      *error = ErrorText(("unlink " + path).c_str());
      return false;
    }
  }
  if (symlink(device_path_.c_str(), path.c_str()) != 0) {
    *error = ErrorText(("symlink " + path).c_str());
    return false;
  }
  link_path_ = path;
  return true;
}

void PtyServer::Unlink() {
  if (link_path_.empty()) return;
  // Only our own link: another sim may have taken the name over since.
  char target[256];
  const ssize_t n = readlink(link_path_.c_str(), target, sizeof target - 1);
  if (n >= 0 && std::string(target, static_cast<size_t>(n)) == device_path_) {
    unlink(link_path_.c_str());
  }
  link_path_.clear();
}

void PtyServer::Stop() {
  stop_requested_ = true;
  if (wake_write_fd_ >= 0) {
    const char wake = 1;
    [[maybe_unused]] ssize_t n = write(wake_write_fd_, &wake, 1);
  }
}

void PtyServer::StopOnSignals() {
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigset_t blocked;
  sigemptyset(&blocked);
  for (int signal : kStopSignals) {
    sigaction(signal, &action, nullptr);
    sigaddset(&blocked, signal);
  }
  // Blocked everywhere but inside ppoll, so a signal can never slip in
  // between the flag test and the wait.
  sigprocmask(SIG_BLOCK, &blocked, nullptr);
}

void PtyServer::Watch(int fd, std::function<void()> on_readable) {
  watched_.push_back({fd, std::move(on_readable)});
}

bool PtyServer::Run(VirtualEcu& ecu, double seconds_per_byte) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  const auto now_s = [start] {
    return std::chrono::duration<double>(Clock::now() - start).count();
  };
  sigset_t wait_mask;
  pthread_sigmask(SIG_BLOCK, nullptr, &wait_mask);
  for (int signal : kStopSignals) sigdelset(&wait_mask, signal);

  SerialLine line(seconds_per_byte);
  double master_quiet_until_s = 0.0;
  while (!stop_requested_ && !g_stop_signal) {
    const double now = now_s();
    const std::string due = line.TakeDue(now);
    if (!due.empty()) WriteAll(master_fd_, due);

    const bool watch_master = now >= master_quiet_until_s;
    std::optional<double> wake_at = line.NextDue();
    if (!watch_master) {
      wake_at = std::min(wake_at.value_or(master_quiet_until_s),
                         master_quiet_until_s);
    }
    timespec timeout;
    if (wake_at) timeout = WaitTimespec(*wake_at - now);
    // A negative fd is skipped by ppoll: the master while it rests.
    std::vector<pollfd> fds = {{wake_read_fd_, POLLIN, 0},
                               {watch_master ? master_fd_ : -1, POLLIN, 0}};
    for (const Watched& w : watched_) fds.push_back({w.fd, POLLIN, 0});
    const int ready =
        ppoll(fds.data(), fds.size(), wake_at ? &timeout : nullptr, &wait_mask);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (fds[0].revents != 0) {
      char drain[16];
      while (read(wake_read_fd_, drain, sizeof drain) > 0) {
      }
    }
    for (size_t i = 0; i < watched_.size(); ++i) {
      if (fds[2 + i].revents != 0) watched_[i].on_readable();
    }
    if (!watch_master || fds[1].revents == 0) continue;

    char bytes[256];
    const ssize_t got = read(master_fd_, bytes, sizeof bytes);
    if (got > 0) {
      const double read_s = now_s();
      // Byte by byte, so each request completes when its own last byte
      // would have come off the line.
      for (ssize_t i = 0; i < got; ++i) {
        const double arrived_s = line.Arrive(read_s);
        const std::vector<Transmission> reply =
            ecu.Receive(std::string_view(bytes + i, 1), arrived_s);
        if (!reply.empty()) line.Send(reply, arrived_s);
      }
    } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
      // Nobody has the device open (EIO / hang-up): keep serving, but do
      // not spin on a hang-up that will not go away.
      master_quiet_until_s = now_s() + kHangUpBackOffS;
    }
  }
  return true;
}

}  // namespace ecu::sim

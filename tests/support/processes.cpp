#include "support/processes.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace ecu::testing {
namespace {

std::vector<char*> Argv(const std::vector<std::string>& argv) {
  std::vector<char*> out;
  for (const std::string& a : argv) out.push_back(const_cast<char*>(a.c_str()));
  out.push_back(nullptr);
  return out;
}

}  // namespace

std::string BuiltProgram(const std::string& name) {
  const char* dir = std::getenv("ECU_BUILD_DIR");
  return std::string(dir ? dir : "build") + "/src/app/" + name;
}

ProcessResult RunProgram(const std::vector<std::string>& argv, double timeout_s,
                         Interruption interruption) {
  ProcessResult result;
  int out_pipe[2];
  int err_pipe[2];
  if (pipe(out_pipe) != 0 || pipe(err_pipe) != 0) return result;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out_pipe[1], 1);
    dup2(err_pipe[1], 2);
    close(out_pipe[0]);
    close(err_pipe[0]);
    const int null_in = open("/dev/null", O_RDONLY);
    dup2(null_in, 0);
    std::vector<char*> args = Argv(argv);
    execv(args[0], args.data());
    _exit(127);
  }
  close(out_pipe[1]);
  close(err_pipe[1]);
  const auto start = std::chrono::steady_clock::now();
  const auto deadline =
      start + std::chrono::milliseconds(static_cast<long>(timeout_s * 1000));
  const auto interrupt_at =
      start +
      std::chrono::milliseconds(static_cast<long>(interruption.after_s * 1000));
  bool interrupt_due = interruption.signal_number != 0;
  pollfd fds[2] = {{out_pipe[0], POLLIN, 0}, {err_pipe[0], POLLIN, 0}};
  int open_fds = 2;
  while (open_fds > 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now())
                          .count();
    if (left <= 0) {
      kill(pid, SIGKILL);
      break;
    }
    long wait_ms = left;
    if (interrupt_due) {
      const auto until = std::chrono::duration_cast<std::chrono::milliseconds>(
                             interrupt_at - std::chrono::steady_clock::now())
                             .count();
      if (until <= 0) {
        kill(pid, interruption.signal_number);
        interrupt_due = false;
        continue;
      }
      wait_ms = std::min(wait_ms, static_cast<long>(until));
    }
    if (poll(fds, 2, static_cast<int>(wait_ms)) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      char buffer[4096];
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n <= 0) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open_fds;
      } else {
        (i == 0 ? result.out : result.err)
            .append(buffer, static_cast<size_t>(n));
      }
    }
  }
  for (pollfd& f : fds) {
    if (f.fd >= 0) close(f.fd);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

ProcessResult RunCli(std::vector<std::string> words, double timeout_s,
                     Interruption interruption) {
  words.insert(words.begin(), BuiltProgram("ecu-cli"));
  return RunProgram(words, timeout_s, interruption);
}

std::vector<std::string> SimLogRequests(const std::string& sim_log) {
  std::vector<std::string> codes;
  std::ifstream in(sim_log);
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    std::string time, direction, code;
    fields >> time >> direction >> code;
    if (direction == "rx") codes.push_back(code);
  }
  return codes;
}

SimProcess::SimProcess(std::vector<std::string> options) {
  char pattern[] = "/tmp/ecu-sim-test-XXXXXX";
  folder_ = mkdtemp(pattern);
  link_ = folder_ + "/ecu";
  Start(options);
}

void SimProcess::Start(const std::vector<std::string>& options) {
  if (pid_ > 0) return;
  std::vector<std::string> argv = {BuiltProgram("ecu-sim"), "--link", link_};
  argv.insert(argv.end(), options.begin(), options.end());
  pid_ = fork();
  if (pid_ == 0) {
    const int null_fd = open("/dev/null", O_RDWR);
    dup2(null_fd, 0);
    dup2(null_fd, 1);
    std::vector<char*> args = Argv(argv);
    execv(args[0], args.data());
    _exit(127);
  }
  for (int i = 0; i < 200 && !std::filesystem::exists(link_); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

SimProcess::~SimProcess() {
  Stop();
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

void SimProcess::Signal(int signal_number) const {
  if (pid_ > 0) kill(pid_, signal_number);
}

std::string SimProcess::Dump(const std::string& path) const {
  Signal(SIGUSR1);
  for (int i = 0; i < 300 && !std::filesystem::exists(path); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

void SimProcess::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
}

}  // namespace ecu::testing

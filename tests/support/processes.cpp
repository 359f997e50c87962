#include "support/processes.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <utility>

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
  // Output goes to unnamed files: a chatty program never waits on a pipe.
  FILE* out = std::tmpfile();
  FILE* err = std::tmpfile();
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(fileno(out), 1);
    dup2(fileno(err), 2);
    dup2(open("/dev/null", O_RDONLY), 0);
    std::vector<char*> args = Argv(argv);
    execv(args[0], args.data());
    _exit(127);
  }
  const auto start = std::chrono::steady_clock::now();
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    const double s =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
            .count();
    if (interruption.signal_number != 0 && s >= interruption.after_s) {
      kill(pid, std::exchange(interruption.signal_number, 0));
    }
    if (s >= timeout_s) {
      kill(pid, SIGKILL);
      timeout_s = HUGE_VAL;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ProcessResult result;
  result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  for (auto [file, text] : {std::pair{out, &result.out}, {err, &result.err}}) {
    std::rewind(file);
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
      text->append(buffer, n);
    }
    std::fclose(file);
  }
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

std::string SimProcess::Dump(const std::string& path) const {
  if (pid_ > 0) kill(pid_, SIGUSR1);
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

#include "support/processes.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <utility>

#include "support/temp_folder.h"

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
  // Output goes to files: a chatty program never waits on a pipe.
  const TempFolder output;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(open(output.Path("out").c_str(), O_WRONLY | O_CREAT, 0600), 1);
    dup2(open(output.Path("err").c_str(), O_WRONLY | O_CREAT, 0600), 2);
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
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output.Read("out"),
          output.Read("err")};
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
  return ReadText(path);
}

void SimProcess::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
}

}  // namespace ecu::testing

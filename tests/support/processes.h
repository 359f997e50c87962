#ifndef ECU_TESTS_SUPPORT_PROCESSES_H_
#define ECU_TESTS_SUPPORT_PROCESSES_H_

#include <sys/types.h>

#include <string>
#include <vector>

#include "support/text.h"

namespace ecu::testing {

// A program of the build tree: $ECU_BUILD_DIR/src/app/NAME.
std::string BuiltProgram(const std::string& name);

struct ProcessResult {
  int exit_status = -1;
  std::string out;
  std::string err;
};

// A signal sent to a running program once `after_s` have passed, as a
// user pressing Ctrl-C (SIGINT) or a polite kill (SIGTERM).
struct Interruption {
  int signal_number = 0;  // none
  double after_s = 0;
};

// Runs a program to its end and collects what it printed. Gives up (and
// kills it) after `timeout_s`.
ProcessResult RunProgram(const std::vector<std::string>& argv,
                         double timeout_s = 60, Interruption interruption = {});
// The same for the build's ecu-cli with `words` after its name.
ProcessResult RunCli(std::vector<std::string> words, double timeout_s = 60,
                     Interruption interruption = {});

// The request codes a sim received ("'A'", "#152"), from its --log file.
std::vector<std::string> SimLogRequests(const std::string& sim_log);

// ecu-sim on a pty for the length of a test, reached through a symlink in a
// fresh temporary folder.
class SimProcess {
 public:
  explicit SimProcess(std::vector<std::string> options = {});
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  const std::string& device() const { return link_; }
  const std::string& folder() const { return folder_; }
  bool running() const { return pid_ > 0; }
  // The memory dumped on SIGUSR1 into `path` (its --dump), waited for.
  std::string Dump(const std::string& path) const;
  // Ends the sim and waits for it.
  void Stop();
  // Starts a stopped sim again on the same link path, as an adapter that
  // comes back under its old name.
  void Start(const std::vector<std::string>& options = {});

 private:
  std::string folder_;
  std::string link_;
  pid_t pid_ = -1;
};

}  // namespace ecu::testing

#endif  // ECU_TESTS_SUPPORT_PROCESSES_H_

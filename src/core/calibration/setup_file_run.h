#ifndef ECU_CORE_CALIBRATION_SETUP_FILE_RUN_H_
#define ECU_CORE_CALIBRATION_SETUP_FILE_RUN_H_

#include <functional>
#include <string>
#include <vector>

namespace ecu {

// Progress of a load or save: steps done so far out of the total.
using SetupProgress = std::function<void(int done, int total)>;
// Asked between steps; true ends the run there (Ctrl-C in ecu-cli). A save
// then leaves the old file; a load says how many lines it applied.
using SetupStop = std::function<bool()>;

// How a load or save went, for callers that must say so (ecu-cli exits 1
// when anything was refused or unanswered). The user has already been told
// of every problem by then.
struct SetupFileReport {
  bool file_ok = false;   // the file could be read, or was written in full
  int lines = 0;          // lines read or written
  int refused_lines = 0;  // reported as "Unknown variable in data file"
  // The first refused lines (line number, reason), for a caller that can
  // name them.
  struct Refusal {
    int line = 0;
    std::string reason;
  };
  std::vector<Refusal> refusals;
  int skipped_lines = 0;     // blank lines and table keys without "["
  int sent_lines = 0;        // lines of a load written to the ECU
  bool interrupted = false;  // stopped before the end of the file
  int unanswered = 0;        // requests the ECU never answered (none in demo
                             // mode: nobody was asked)
};

}  // namespace ecu

#endif  // ECU_CORE_CALIBRATION_SETUP_FILE_RUN_H_

#ifndef ECU_APP_CLI_STATUS_LINE_H_
#define ECU_APP_CLI_STATUS_LINE_H_

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace ecu::cli {

// One line of stderr redrawn in place while a long command runs, such as
//   240 samples, 0:04:00, 14.2 kB
// Drawn only on a terminal, so scripts and logs get no carriage returns.
class StatusLine {
 public:
  // On stderr when stderr is a terminal, else quiet.
  StatusLine();
  StatusLine(std::FILE* out, bool enabled) : out_(out), enabled_(enabled) {}
  ~StatusLine() { MakeRoom(); }
  StatusLine(const StatusLine&) = delete;
  StatusLine& operator=(const StatusLine&) = delete;

  void Show(const std::string& text);
  // Clears the line so that a message can take it; the next Show draws it
  // again below the message.
  void MakeRoom();

 private:
  std::FILE* out_;
  bool enabled_;
  bool drawn_ = false;
};

// "240 samples, 0:04:00, 14.2 kB": a data log as it grows.
// With the achieved rate once it is known:
// "3480 samples, 0:01:00, 57.9/s, 159.8 kB".
std::string LogStatusText(int64_t samples, double seconds, uintmax_t bytes,
                          std::optional<double> per_second = std::nullopt);

}  // namespace ecu::cli

#endif  // ECU_APP_CLI_STATUS_LINE_H_

#ifndef ECU_APP_CLI_PROGRESS_BAR_H_
#define ECU_APP_CLI_PROGRESS_BAR_H_

#include <cstdio>
#include <functional>
#include <utility>

#include "core/console/file_commands.h"

namespace ecu::cli {

// The progress of a setup-file run as one line redrawn in place:
//   [##########..............................]  25%
// Drawn only on a terminal, so scripts and logs get no carriage returns.
class ProgressBar : public BusyView {
 public:
  // Draws on stderr when stderr is a terminal, else stays quiet.
  ProgressBar();
  ProgressBar(std::FILE* out, bool enabled) : out_(out), enabled_(enabled) {}

  void BeginBusy() override;
  void ShowProgress(double fraction) override;
  void EndBusy() override;
  bool StopRequested() override { return stop_check_ && stop_check_(); }
  void set_stop_check(std::function<bool()> check) {
    stop_check_ = std::move(check);
  }

  // Clears the bar's line so that a message can take it; the next progress
  // draws the bar again below the message.
  void MakeRoomForMessage();

 private:
  void Draw(int percent);

  std::FILE* out_;
  bool enabled_;
  bool drawn_ = false;  // the bar is on the current line
  int percent_ = -1;    // what the bar shows
  std::function<bool()> stop_check_;
};

}  // namespace ecu::cli

#endif  // ECU_APP_CLI_PROGRESS_BAR_H_

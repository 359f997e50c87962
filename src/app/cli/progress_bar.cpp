#include "app/cli/progress_bar.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace ecu::cli {
namespace {

constexpr int kWidth = 40;

}  // namespace

ProgressBar::ProgressBar() : ProgressBar(stderr, isatty(STDERR_FILENO) == 1) {}

void ProgressBar::BeginBusy() {
  percent_ = -1;
  ShowProgress(0);
}

void ProgressBar::ShowProgress(double fraction) {
  const int percent =
      static_cast<int>(std::floor(std::clamp(fraction, 0.0, 1.0) * 100.0));
  // Only a change is drawn: a save reports 441 steps.
  if (percent == percent_ && drawn_) return;
  Draw(percent);
}

void ProgressBar::EndBusy() {
  if (enabled_ && drawn_) {
    std::fputc('\n', out_);
    std::fflush(out_);
  }
  drawn_ = false;
}

void ProgressBar::MakeRoomForMessage() {
  if (!enabled_ || !drawn_) return;
  // Carriage return and erase to the end of the line.
  std::fputs("\r\033[K", out_);
  std::fflush(out_);
  drawn_ = false;
}

void ProgressBar::Draw(int percent) {
  percent_ = percent;
  if (!enabled_) return;
  const int filled = percent * kWidth / 100;
  const std::string bar =
      std::string(static_cast<size_t>(filled), '#') +
      std::string(static_cast<size_t>(kWidth - filled), '.');
  std::fprintf(out_, "\r[%s] %3d%%", bar.c_str(), percent);
  std::fflush(out_);
  drawn_ = true;
}

}  // namespace ecu::cli

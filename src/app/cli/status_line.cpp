#include "app/cli/status_line.h"

#include <unistd.h>

namespace ecu::cli {

StatusLine::StatusLine() : StatusLine(stderr, isatty(STDERR_FILENO) == 1) {}

void StatusLine::Show(const std::string& text) {
  if (!enabled_) return;
  // Carriage return, the text, and erase what a longer line left.
  std::fprintf(out_, "\r%s\033[K", text.c_str());
  std::fflush(out_);
  drawn_ = true;
}

void StatusLine::MakeRoom() {
  if (!enabled_ || !drawn_) return;
  std::fputs("\r\033[K", out_);
  std::fflush(out_);
  drawn_ = false;
}

std::string LogStatusText(int64_t samples, double seconds, uintmax_t bytes,
                          std::optional<double> per_second) {
  const auto whole = static_cast<long long>(seconds);
  char text[128];
  const char* unit = bytes >= 1'000'000 ? "MB" : "kB";
  const double size =
      static_cast<double>(bytes) / (bytes >= 1'000'000 ? 1'000'000.0 : 1'000.0);
  char rate[32] = "";
  if (per_second) std::snprintf(rate, sizeof rate, ", %.1f/s", *per_second);
  std::snprintf(text, sizeof text,
                "%lld sample%s, %lld:%02lld:%02lld%s, %.1f %s",
                static_cast<long long>(samples), samples == 1 ? "" : "s",
                whole / 3600, whole / 60 % 60, whole % 60, rate, size, unit);
  return text;
}

}  // namespace ecu::cli

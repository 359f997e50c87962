// Times the log viewer opening a data log: reading it, counting its cells
// and drawing the window once, offscreen. ecu-log-viewer-bench FILE.CSV

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <ctime>

#include "support/scripted_prompts.h"
#include "ui/log_viewer_window.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: ecu-log-viewer-bench FILE.CSV\n");
    return 2;
  }
  ecu::testing::ScriptedPrompts prompts;
  ecu::LogViewerWindow viewer(prompts, [] { return ecu::MapAxes(); });
  viewer.resize(1180, 560);
  // CPU time too: on a loaded machine the wall time measures the others.
  const std::clock_t cpu_start = std::clock();
  const auto start = std::chrono::steady_clock::now();
  if (!viewer.OpenLog(argv[1])) {
    std::fprintf(stderr, "%s\n", viewer.model().log().trouble.c_str());
    return 1;
  }
  viewer.show();
  viewer.grab();  // one whole paint of every part
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
          .count();
  const double cpu_seconds =
      static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC;
  std::printf(
      "log viewer, %zu-line log: open and drawn in %.2f s, %.2f s of CPU "
      "(target under 1 s)\n",
      viewer.model().log().samples.size(), seconds, cpu_seconds);
  return 0;
}

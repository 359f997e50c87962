// ecu-console: the tuner's desktop console.

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/console/console_command_line.h"
#include "qt/config_folder.h"
#include "qt/qt_event_pump.h"
#include "qt/qt_prompts.h"
#include "qt/qt_serial_port.h"
#include "qt/system_clock.h"
#include "ui/console_app.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
  // Answered before any window exists, so they work without a display.
  switch (ecu::ReadConsoleRequest({argv + 1, argv + argc})) {
    case ecu::ConsoleRequest::kHelp:
      std::fputs(ecu::ConsoleUsage().c_str(), stdout);
      return 0;
    case ecu::ConsoleRequest::kVersion:
      std::puts("ecu-console " ECU_VERSION);
      return 0;
    case ecu::ConsoleRequest::kRun:
      break;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("ecu-console");
  QApplication::setApplicationVersion(ECU_VERSION);
  // The desktop entry and icon an installed console is known by.
  QGuiApplication::setDesktopFileName(ECU_APP_ID);
  QApplication::setWindowIcon(QIcon::fromTheme(ECU_APP_ID));
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  ecu::ConsoleFolders folders;
  folders.start_up = QDir::currentPath().toStdString();
  folders.config = ecu::ConsoleConfigFolder();
  ecu::QtSerialPort port;
  ecu::SystemClock clock;
  ecu::QtPrompts prompts;
  ecu::QtEventPump pump;
  ecu::ConsoleApp console(
      {port, clock, prompts, pump,
       [] { return std::make_unique<ecu::QtSerialPort>(); }},
      arguments, folders);
  prompts.set_parent(&console.main_window());
  console.set_file_to_open(ecu::NamedFile(arguments));
  return console.Run();
}

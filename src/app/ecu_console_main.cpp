// ecu-console: the tuner's desktop console.

#include <QApplication>
#include <QDir>
#include <string>
#include <vector>

#include "core/link/port_config.h"
#include "ui/console_app.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("ecu-console");
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  ecu::ConsoleFolders folders;
  folders.start_up = QDir::currentPath().toStdString();
  folders.config = ecu::PortConfigFolder(
      QCoreApplication::applicationDirPath().toStdString());
  ecu::ConsoleApp console(arguments, folders);
  return console.Run();
}

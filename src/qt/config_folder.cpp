#include "qt/config_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ecu {

ConfigPlaces ThisProgramsConfigPlaces() {
  ConfigPlaces places;
  const QString program_folder = QCoreApplication::applicationDirPath();
  places.program_folder = program_folder.toStdString();
  places.installed =
      QFileInfo::exists(QDir(program_folder).filePath(ECU_INSTALLED_MARKER));
  // Without an organisation name, AppConfigLocation is this folder for an
  // application named "ecu-console"; spelled out so that ecu-cli agrees.
  places.user_folder =
      (QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
       "/ecu-console")
          .toStdString();
  return places;
}

std::string ConsoleConfigFolder() {
  return PortConfigFolder(ThisProgramsConfigPlaces());
}

}  // namespace ecu

#ifndef ECU_UI_WIDGETS_LAUNCHER_ICONS_H_
#define ECU_UI_WIDGETS_LAUNCHER_ICONS_H_

#include <QIcon>

namespace ecu {

// The pictures of the main window's launcher buttons, drawn rather than
// loaded so they stay sharp at any scale.
enum class LauncherPicture {
  kMonitor,
  kDashboard,
  kConfiguration,
  kBasicMapping,
  kAdditionalMapping,
  kPlotter,
  kAbout,
  kExit,
};

QIcon LauncherIcon(LauncherPicture picture);

}  // namespace ecu

#endif  // ECU_UI_WIDGETS_LAUNCHER_ICONS_H_

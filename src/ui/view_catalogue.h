#ifndef ECU_UI_VIEW_CATALOGUE_H_
#define ECU_UI_VIEW_CATALOGUE_H_

#include <QString>
#include <string_view>
#include <vector>

#include "core/console/console_state.h"
#include "ui/widgets/launcher_icons.h"

namespace ecu {

// How each view window is reached: its View menu entry, its launcher button
// on the main window and its switch entry on the other view windows.
struct ViewEntry {
  View view;
  std::string_view window_name;  // objectName, "frm_mon"
  const char* menu_name;         // View menu entry of the main window
  QString menu_caption;
  const char* button_name;  // launcher button
  QString button_tip;
  LauncherPicture picture;
  QString button_caption;   // a caption instead of a picture ("Supp")
  const char* switch_name;  // switch entry of the other view windows
  QString switch_caption;
  QString title;
};

// In the order of the View menu.
const std::vector<ViewEntry>& ViewEntries();
const ViewEntry& EntryFor(View view);

}  // namespace ecu

#endif  // ECU_UI_VIEW_CATALOGUE_H_

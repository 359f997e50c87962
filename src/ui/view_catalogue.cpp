#include "ui/view_catalogue.h"

namespace ecu {

const std::vector<ViewEntry>& ViewEntries() {
  static const std::vector<ViewEntry> entries = {
      {View::kMonitor, "Menu_View_Monitor", "&Monitor", "Command3d4",
       "Realtime Data Monitor", LauncherPicture::kMonitor, "", "menu_mon",
       "&Monitor", "Real Time Monitor"},
      {View::kDashboard, "menu_view_dashboard", "&Dashboard", "Command1",
       "Instrument Dashboard", LauncherPicture::kDashboard, "", "menu_dash",
       "&Dashboard", "Dashboard"},
      {View::kConfiguration, "Menu_View_Injection", "&Configuration",
       "Command3d1", "ECU Configuration", LauncherPicture::kConfiguration, "",
       "menu_tools", "&Config.", "Configuration"},
      {View::kFuelMap, "menu_View_Mapping", "&Basic Mapping", "Command3d2",
       "Basic Mapping", LauncherPicture::kBasicMapping, "", "menu_3d",
       "&Basic Map", "Basic Mapping"},
      {View::kCurves, "menu_view_temperature", "&Additional Mapping",
       "Command3d7", "Additional Mapping", LauncherPicture::kAdditionalMapping,
       "", "menu_2d", "&Additional Map", "Additional Mapping"},
      {View::kSupplementary, "menu_View_supp", "&Supplimental Driver",
       "Command2", "Supplimental Driver Mapping Parameters",
       LauncherPicture::kConfiguration, "Supp", "menu_sup", "&Supp. Drv.",
       "Supplimental Driver Mapping"},
      {View::kPlotter, "menu_View_Plotter", "&Plotter", "Command3d3", "Plotter",
       LauncherPicture::kPlotter, "", "menu_plot", "&Plotter", "Data Plotter"},
  };
  return entries;
}

const ViewEntry& EntryFor(View view) {
  for (const ViewEntry& entry : ViewEntries()) {
    if (entry.view == view) return entry;
  }
  return ViewEntries().front();
}

}  // namespace ecu

#include "ui/view_catalogue.h"

#include "core/calibration/catalogue.h"

namespace ecu {

const std::vector<ViewEntry>& ViewEntries() {
  static const std::vector<ViewEntry> entries = {
      {View::kMonitor, "frm_mon", "Menu_View_Monitor", "&Monitor", "Command3d4",
       "Realtime Data Monitor", LauncherPicture::kMonitor, "", "menu_mon",
       "&Monitor", "Real Time Monitor"},
      {View::kDashboard, kDashboardWindow, "menu_view_dashboard", "&Dashboard",
       "Command1", "Instrument Dashboard", LauncherPicture::kDashboard, "",
       "menu_dash", "&Dashboard", "Dashboard"},
      {View::kConfiguration, kConfigurationWindow, "Menu_View_Injection",
       "&Configuration", "Command3d1", "ECU Configuration",
       LauncherPicture::kConfiguration, "", "menu_tools", "&Config.",
       "Configuration"},
      {View::kFuelMap, kFuelMapWindow, "menu_View_Mapping", "&Basic Mapping",
       "Command3d2", "Basic Mapping", LauncherPicture::kBasicMapping, "",
       "menu_3d", "&Basic Map", "Basic Mapping"},
      {View::kCurves, kCurveWindow, "menu_view_temperature",
       "&Additional Mapping", "Command3d7", "Additional Mapping",
       LauncherPicture::kAdditionalMapping, "", "menu_2d", "&Additional Map",
       "Additional Mapping"},
      {View::kSupplementary, kSupplementaryWindow, "menu_View_supp",
       "&Supplimental Driver", "Command2",
       "Supplimental Driver Mapping Parameters",
       LauncherPicture::kConfiguration, "Supp", "menu_sup", "&Supp. Drv.",
       "Supplimental Driver Mapping"},
      {View::kPlotter, "frm_plotter", "menu_View_Plotter", "&Plotter",
       "Command3d3", "Plotter", LauncherPicture::kPlotter, "", "menu_plot",
       "&Plotter", "Data Plotter"},
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

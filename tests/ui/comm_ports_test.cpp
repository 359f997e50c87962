#include <gtest/gtest.h>

#include <QMenu>

#include "core/link/port_config.h"
#include "ui/console_rig.h"
#include "ui/workbench.h"

namespace ecu {
namespace {

using testing::ConsoleRig;

QStringList Captions(QMenu* menu) {
  QStringList captions;
  for (QAction* a : menu->actions()) captions << a->text();
  return captions;
}

TEST(CommPortsTest, PresentPortsFollowTheDescribedEntriesAndDetectPicksTheSim) {
  ConsoleRig rig;
  Workbench& workbench = rig.app->workbench();
  workbench.set_port_lister([] {
    return std::vector<PresentPort>{
        {"/dev/busy", "", "", std::nullopt, std::nullopt},
        {.device = "/dev/virtual",
         .description = "Virtual ECU",
         .maker = "Bench",
         .vendor_id = 0x0403,
         .product_id = 0x6001}};
  });
  rig.port.set_open_failure("/dev/busy", {OpenFailure::kBusy, "locked"});
  rig.ctx().link_state.port_device = "/dev/old";  // as port.cfg had it
  rig.port.set_open_failure("/dev/old", {OpenFailure::kMissing, "gone"});

  QMenu* comm = rig.app->main_window().findChild<QMenu*>("menu_comm");
  emit comm->aboutToShow();
  EXPECT_EQ(
      Captions(comm),
      (QStringList{"&1", "&2", "&3", "&4", "&5", "&6", "", "&Other Port...", "",
                   "/dev/busy", "/dev/virtual  Virtual ECU (Bench, 0403:6001)",
                   "Detect ECU"}));

  ASSERT_TRUE(rig.Trigger("menu_comm_detect"));
  ASSERT_FALSE(rig.prompts.shown().empty());
  EXPECT_EQ(rig.prompts.texts().back(),
            "The ECU answered on /dev/virtual (ECU V1.01.03, serial "
            "123456). It is stored as the console's port and used from the "
            "next start of the console.\n"
            "/dev/old: no such port\n"
            "/dev/busy: in use by another program");
  EXPECT_EQ(ReadPortChoice(rig.config_folder()).device, "/dev/virtual");
  EXPECT_FALSE(rig.port.IsOpen());  // the link opens it again when used

  // A listed port is chosen as Other Port... would choose it.
  emit comm->aboutToShow();
  rig.Trigger("menu_comm_port_/dev/busy");
  EXPECT_EQ(ReadPortChoice(rig.config_folder()).device, "/dev/busy");
}

}  // namespace
}  // namespace ecu

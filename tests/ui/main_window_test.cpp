#include <gtest/gtest.h>

#include <QMenu>
#include <filesystem>

#include "core/link/port_config.h"
#include "core/units/mixture_units.h"
#include "ui/about_window.h"
#include "ui/console_rig.h"
#include "ui/monitor_window.h"
#include "ui/workbench.h"

namespace ecu::testing {
namespace {

TEST(MainWindowTest, TitleMenusLaunchersAndMasterMode) {
  ConsoleRig rig;
  // Captions, menus and tool tips: WindowTextsTest.
  EXPECT_EQ(rig.Find<QWidget>("Picture1")->toolTip(),
            "Contact us for technical support");
  // Nothing goes out until a window is opened.
  for (int i = 0; i < 5; ++i) rig.pump.ProcessPending();
  EXPECT_TRUE(rig.port.written().empty());
  EXPECT_FALSE(rig.ctx().link_state.port_ready);

  ConsoleRig master({}, {"debug.ini"});
  EXPECT_TRUE(master.ctx().console.master_mode);
  EXPECT_EQ(master.app->main_window().windowTitle(),
            "ECU System Console [Master Mode]");
}

TEST(MainWindowTest, CommMenuChecksTheStoredPort) {
  ConsoleRig rig;
  auto checked = [&] {
    QStringList on;
    for (int n = 1; n <= 6; ++n) {
      if (rig.Find<QAction>(QString("menu_comm_%1").arg(n))->isChecked()) {
        on << QString::number(n);
      }
    }
    return on;
  };
  EXPECT_TRUE(checked().isEmpty());  // port.cfg names a device path
  ASSERT_TRUE(rig.Trigger("menu_comm_3"));
  EXPECT_EQ(checked(), QStringList{"3"});
  ASSERT_TRUE(rig.Trigger("menu_comm_5"));
  EXPECT_EQ(checked(), QStringList{"5"});
}

TEST(MainWindowTest, ExitAsksNoChangesNothingAndTheCloseBoxDoesNotAsk) {
  ConsoleRig rig;
  rig.prompts.QueueAnswer(Answer::kNo);
  MainWindow& main = rig.app->main_window();
  ASSERT_TRUE(rig.TriggerIn(&main, "menu_file_exit"));
  ASSERT_EQ(rig.prompts.shown().size(), 1u);
  const Message& q = rig.prompts.shown()[0];
  EXPECT_EQ(std::tie(q.title, q.text, q.buttons, q.icon, q.default_button),
            std::make_tuple(std::string("ECU"),
                            std::string("Are you sure you want to quit?"),
                            Buttons::kYesNo, Icon::kExclamation, 1));
  EXPECT_FALSE(rig.app->stop());
  EXPECT_TRUE(main.isVisible());
  rig.prompts.QueueAnswer(Answer::kYes);
  rig.TriggerIn(&main, "menu_file_exit");
  EXPECT_TRUE(rig.app->stop());

  ConsoleRig closed;
  closed.app->main_window().close();
  EXPECT_TRUE(closed.app->stop());
  EXPECT_TRUE(closed.prompts.shown().empty());
}

TEST(CommPortsTest, PresentPortsFollowTheStandardEntriesAndDetectPicksTheSim) {
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

  // A port that cannot be stored is not said to be.
  std::filesystem::remove_all(rig.config_folder());
  rig.prompts.Clear();
  ASSERT_TRUE(rig.Trigger("menu_comm_detect"));
  ASSERT_EQ(rig.prompts.texts().size(), 2u);
  EXPECT_THAT(rig.prompts.texts().front(), HasSubstr("could not be saved"));
  EXPECT_THAT(rig.prompts.texts().back(),
              StartsWith("The ECU answered on /dev/virtual (ECU V1.01.03, "
                         "serial 123456), but it could not be stored as the "
                         "console's port.\n"));
}

TEST(MainWindowTest, UnitsMenuSwitchesTheMonitorToAfrAndRemembersIt) {
  ConsoleRig rig({"demo"});
  ASSERT_TRUE(rig.Trigger("menu_units_e85"));
  EXPECT_EQ(ReadMixtureUnits(rig.config_folder()), (MixtureUnits{true, 9.8}));
  rig.Trigger("Menu_View_Monitor");
  rig.StartLoop();
  rig.Ticks(1);
  // The demo's lambda is 1 to 1.17: 9.80 to 11.47 as AFR.
  EXPECT_THAT(rig.app->monitor().Readout(1).toDouble(),
              AllOf(Ge(9.8), Le(11.47)));
  EXPECT_EQ(rig.app->monitor().findChild<QLabel*>("mixture_unit")->text(),
            "AFR");
  ASSERT_TRUE(rig.Trigger("menu_units_lambda"));
  EXPECT_EQ(rig.app->monitor().findChild<QLabel*>("mixture_unit")->text(),
            "Lamda");
}

TEST(AboutWindowTest, DemoModeShowsNoIdentification) {
  ConsoleRig rig({"demo"});
  ASSERT_TRUE(rig.Trigger("menu_about"));
  rig.app->commands().ReadIdentification();
  EXPECT_EQ(rig.Text("FW_Rev"), "DEMO MODE");
  EXPECT_EQ(rig.Text("serial_num"), "Unknown");
  EXPECT_EQ(rig.Text("ECU_Rev"), "V1.01.03  09/14/08");
  EXPECT_TRUE(rig.app->main_window().isVisible());
}

// Focus back from another program is not an activation: the box would
// freeze for its reads after every alt-tab.
TEST(AboutWindowTest, ReadsAgainOnlyWhenComingFromAnotherConsoleWindow) {
  ConsoleRig rig;
  ASSERT_TRUE(rig.Trigger("menu_about"));
  AboutWindow& about = rig.app->about();
  about.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
  const std::vector<int> identification = {'R', '-'};
  ASSERT_EQ(rig.TakeCodes(), identification);
  EXPECT_EQ(rig.Text("FW_Rev"), "V1.01.03");
  EXPECT_EQ(rig.Text("serial_num"), "123456");
  QApplication::setActiveWindow(nullptr);
  QApplication::setActiveWindow(&about);
  EXPECT_TRUE(rig.TakeCodes().empty());
  QApplication::setActiveWindow(&rig.app->main_window());
  QApplication::setActiveWindow(&about);
  EXPECT_EQ(rig.TakeCodes(), identification);
}

}  // namespace
}  // namespace ecu::testing

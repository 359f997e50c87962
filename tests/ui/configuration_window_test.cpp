#include "ui/configuration_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QPushButton>

#include "core/link/frame.h"
#include "ui/console_rig.h"
#include "ui/widgets/qt_text.h"

namespace ecu::testing {
namespace {

// Configuration opened from the View menu and filled.
struct ConfigurationRig : ConsoleRig {
  explicit ConfigurationRig(const std::vector<std::string>& files = {},
                            std::set<int> silent_codes = {})
      : ConsoleRig({}, files) {
    port.silent_codes = std::move(silent_codes);
    window = OpenView<ConfigurationWindow>("Menu_View_Injection",
                                           View::kConfiguration);
    port.silent_codes.clear();
  }
  CellEdit* Field(const QString& name) {
    return window->findChild<CellEdit*>(name);
  }
  QCheckBox* Box(const QString& name) {
    return window->findChild<QCheckBox*>(name);
  }
  QAbstractButton* Button(const QString& name) {
    return window->findChild<QAbstractButton*>(name);
  }
  QColor TextColour(const QString& name) {
    return Button(name)->palette().color(QPalette::Active,
                                         QPalette::WindowText);
  }
  std::vector<std::string> Update() {
    TakeRequests();
    window->findChild<QPushButton*>("Command3d1")->click();
    return TakeRequests();
  }
  ConfigurationWindow* window = nullptr;
};

TEST(ConfigurationWindowTest, FillsFromTheVirtualEcuAndSendsEachKindOfChange) {
  ConfigurationRig rig;
  EXPECT_TRUE(rig.window->isVisible());
  EXPECT_FALSE(rig.app->main_window().isVisible());
  EXPECT_TRUE(rig.prompts.shown().empty()) << rig.prompts.texts()[0];
  for (const CellFamily& family : rig.window->editor().fields().families()) {
    CellEdit* field = rig.Field(Text(family.name));
    ASSERT_NE(field, nullptr) << family.name;
    EXPECT_FALSE(field->text().isEmpty()) << family.name;
    EXPECT_EQ(Background(field), kWhiteMark) << family.name;
  }
  // The virtual ECU fires drivers 1 to 4 in turn, phase by phase.
  EXPECT_TRUE(rig.Button("inj_ph_3_3")->isChecked());
  EXPECT_FALSE(rig.Button("inj_ph_3_5")->isChecked());
  EXPECT_TRUE(rig.Button("EGO_type_0")->isChecked());
  EXPECT_FALSE(rig.Field("WB_EGO_0V_LAMBDA")->isEnabled());

  // One change of each kind: a text field, a check box, an option group
  // and a phase row.
  TypeOver(rig.Field("max_rpm"), "7000");
  EXPECT_EQ(Background(rig.Field("max_rpm")), kYellowMark);
  rig.Button("MAP_accel")->click();
  EXPECT_EQ(rig.TextColour("MAP_accel"), kYellowMark);
  rig.Button("EGO_type_1")->click();
  EXPECT_FALSE(rig.Button("EGO_type_0")->isChecked());
  EXPECT_EQ(rig.TextColour("EGO_type_0"), kYellowMark);
  EXPECT_TRUE(rig.Field("WB_EGO_0V_LAMBDA")->isEnabled());
  rig.Button("inj_ph_3_5")->click();
  EXPECT_EQ(rig.Update(),
            (std::vector<std::string>{
                CommandWithWord('i', 716), CommandWithByte('|', 2),
                Command(128, 3, 8 | 32, 0), CommandWithByte(209, 1)}));
  EXPECT_TRUE(rig.prompts.shown().empty());
  EXPECT_EQ(Background(rig.Field("max_rpm")), kWhiteMark);
  EXPECT_EQ(rig.TextColour("MAP_accel"), QColor(0, 0, 0));
  EXPECT_EQ(rig.TextColour("EGO_type_0"), QColor(0, 0, 0));
  EXPECT_NE(rig.window->findChild<QLabel*>("phase_label_3")
                ->palette()
                .color(QPalette::Window),
            kYellowMark);
}

TEST(ConfigurationWindowTest, MasterModeEnablesTheSensorAndSpecialButtons) {
  for (const bool master : {false, true}) {
    ConfigurationRig rig(master ? std::vector<std::string>{"debug.ini"}
                                : std::vector<std::string>{});
    for (const char* name :
         {"map_type_0", "map_type_3", "special_cfg_0", "special_cfg_1"}) {
      EXPECT_EQ(rig.Button(name)->isEnabled(), master) << name;
    }
    EXPECT_TRUE(rig.Button("TPS_mapped")->isEnabled());
    rig.Button("map_type_1")->click();
    EXPECT_EQ(rig.Button("map_type_1")->isChecked(), master);
    EXPECT_EQ(rig.Update(),
              master ? std::vector<std::string>{CommandWithByte(130, 1)}
                     : std::vector<std::string>{});
  }
}

TEST(ConfigurationWindowTest, KeysCaptureButtonsAndLeavingTheWindow) {
  ConfigurationRig rig;
  rig.TakeRequests();
  rig.Field("num_pulses_hot")->setFocus();
  QTest::keyClick(rig.Field("num_pulses_hot"), Qt::Key_Return);
  EXPECT_TRUE(rig.TakeRequests().empty());

  // Return on a check box sends the text field typed before it.
  TypeOver(rig.Field("ego_rate"), "20");
  rig.Button("TPS_mapped")->setFocus();
  QTest::keyClick(rig.Button("TPS_mapped"), Qt::Key_Return);
  EXPECT_EQ(rig.TakeRequests(),
            std::vector<std::string>{CommandWithByte('c', 20)});

  rig.window->findChild<QPushButton*>("calibrate_tps_val_1")->click();
  EXPECT_EQ(rig.TakeRequests(),
            std::vector<std::string>{Command(216, 0, 0, 0)});
  EXPECT_FALSE(rig.Field("tps_fs_val")->text().isEmpty());

  // The switch entries name every other window; the monitor's opens it.
  EXPECT_EQ(rig.window->findChild<QAction*>("menu_tools"), nullptr);
  ASSERT_TRUE(rig.Trigger("menu_mon"));
  EXPECT_FALSE(rig.window->isVisible());
  rig.Ticks(1);
  EXPECT_TRUE(rig.app->WindowOf(View::kMonitor)->isVisible());
}

// What is sent of them is the editor's (unknown values test); the window
// shows unknown as half-ticked or no choice, and a click as what it made.
TEST(ConfigurationWindowTest, UnreadPhaseRowsAndOptionsShowUnknown) {
  ConfigurationRig rig({}, {'C', 127});
  ASSERT_TRUE(rig.window->isEnabled());
  for (int p = 0; p < kPhaseRows; ++p) {
    EXPECT_EQ(rig.Box(QString("inj_ph_%1_0").arg(p))->checkState(),
              Qt::PartiallyChecked)
        << p;
  }
  EXPECT_EQ(rig.Box("TPS_mapped")->checkState(), Qt::PartiallyChecked);
  EXPECT_FALSE(rig.Button("map_type_0")->isChecked());
  EXPECT_TRUE(rig.Field("max_rpm")->text().isEmpty());

  rig.Box("MAP_accel")->click();
  EXPECT_EQ(rig.Box("MAP_accel")->checkState(), Qt::Checked);
  // A box ticked in an unknown row makes the row what is shown.
  rig.Box("inj_ph_2_1")->click();
  EXPECT_EQ(rig.Box("inj_ph_2_1")->checkState(), Qt::Checked);
  EXPECT_EQ(rig.Box("inj_ph_2_0")->checkState(), Qt::Unchecked);
  EXPECT_EQ(rig.Box("inj_ph_3_0")->checkState(), Qt::PartiallyChecked);
}

}  // namespace
}  // namespace ecu::testing

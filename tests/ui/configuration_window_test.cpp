#include "ui/configuration_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "core/editors/configuration_order.h"
#include "core/link/frame.h"
#include "ui/console_rig.h"

namespace ecu {
namespace {

using testing::ConsoleRig;
using testing::kWhiteMark;
using testing::kYellowMark;

// The console with Configuration opened from the View menu and filled.
struct ConfigurationRig : ConsoleRig {
  explicit ConfigurationRig(std::vector<std::string> arguments = {},
                            const std::vector<std::string>& files = {})
      : ConsoleRig(std::move(arguments), files) {
    EXPECT_TRUE(Trigger("Menu_View_Injection"));
    EXPECT_TRUE(StartLoop());
    window =
        static_cast<ConfigurationWindow*>(app->WindowOf(View::kConfiguration));
    // The fill runs from the event loop once the window is up.
    QApplication::processEvents();
  }
  CellEdit* Field(const QString& name) {
    return window->findChild<CellEdit*>(name);
  }
  QAbstractButton* Button(const QString& name) {
    return window->findChild<QAbstractButton*>(name);
  }
  QColor TextColour(const QString& name) {
    return Button(name)->palette().color(QPalette::Active,
                                         QPalette::WindowText);
  }
  ConfigurationWindow* window = nullptr;
};

TEST(ConfigurationWindowTest, FillsFromTheVirtualEcuAndSendsEachKindOfChange) {
  ConfigurationRig rig;
  ASSERT_NE(rig.window, nullptr);
  EXPECT_TRUE(rig.window->isVisible());
  EXPECT_EQ(rig.window->windowTitle(), "Configuration");
  EXPECT_FALSE(rig.app->main_window().isVisible());
  // The fill (the loop's own start-up read may follow it).
  const std::vector<std::string> reads = rig.TakeRequests();
  const std::span<const uint8_t> fill = ConfigurationFillReads();
  ASSERT_GE(reads.size(), fill.size());
  for (size_t i = 0; i < fill.size(); ++i) {
    EXPECT_EQ(reads[i], std::string(1, char(fill[i])) + "000") << i;
  }
  EXPECT_TRUE(rig.prompts.shown().empty()) << rig.prompts.texts()[0];
  for (const CellFamily& family : rig.window->editor().fields().families()) {
    const QString name = QString::fromUtf8(
        family.name.data(), static_cast<int>(family.name.size()));
    CellEdit* field = rig.Field(name);
    ASSERT_NE(field, nullptr) << family.name;
    EXPECT_FALSE(field->text().isEmpty()) << family.name;
    EXPECT_EQ(field->palette().color(QPalette::Base), kWhiteMark)
        << family.name;
  }
  // The virtual ECU fires drivers 1 to 4 in turn, phase by phase.
  EXPECT_TRUE(rig.Button("inj_ph_0_0")->isChecked());
  EXPECT_TRUE(rig.Button("inj_ph_3_3")->isChecked());
  EXPECT_FALSE(rig.Button("inj_ph_3_5")->isChecked());
  EXPECT_TRUE(rig.Button("map_type_0")->isChecked());
  EXPECT_TRUE(rig.Button("EGO_type_0")->isChecked());
  EXPECT_FALSE(rig.Field("WB_EGO_0V_LAMBDA")->isEnabled());

  // One change of each kind: a text field, a check box, an option group
  // and a phase row.
  CellEdit* rev_limit = rig.Field("max_rpm");
  rev_limit->setFocus();
  rev_limit->selectAll();
  QTest::keyClicks(rev_limit, "7000");
  EXPECT_EQ(rev_limit->palette().color(QPalette::Base), kYellowMark);
  rig.Button("MAP_accel")->click();
  EXPECT_EQ(rig.TextColour("MAP_accel"), kYellowMark);
  rig.Button("EGO_type_1")->click();
  EXPECT_TRUE(rig.Button("EGO_type_1")->isChecked());
  EXPECT_FALSE(rig.Button("EGO_type_0")->isChecked());
  EXPECT_EQ(rig.TextColour("EGO_type_0"), kYellowMark);
  EXPECT_TRUE(rig.Field("WB_EGO_0V_LAMBDA")->isEnabled());
  rig.Button("inj_ph_3_5")->click();
  EXPECT_TRUE(rig.Button("inj_ph_3_5")->isChecked());

  rig.window->findChild<QPushButton*>("Command3d1")->click();
  EXPECT_EQ(rig.TakeRequests(),
            (std::vector<std::string>{
                CommandWithWord('i', 716), CommandWithByte('|', 2),
                Command(128, 3, 8 | 32, 0), CommandWithByte(209, 1)}));
  EXPECT_TRUE(rig.prompts.shown().empty());
  EXPECT_EQ(rev_limit->palette().color(QPalette::Base), kWhiteMark);
  EXPECT_EQ(rig.TextColour("MAP_accel"), QColor(0, 0, 0));
  EXPECT_EQ(rig.TextColour("EGO_type_0"), QColor(0, 0, 0));
  EXPECT_NE(rig.window->findChild<QLabel*>("phase_label_3")
                ->palette()
                .color(QPalette::Window),
            kYellowMark);
}

TEST(ConfigurationWindowTest, MasterModeEnablesTheSensorAndSpecialButtons) {
  for (const bool master : {false, true}) {
    ConfigurationRig rig({}, master ? std::vector<std::string>{"debug.ini"}
                                    : std::vector<std::string>{});
    for (const char* name :
         {"map_type_0", "map_type_3", "special_cfg_0", "special_cfg_1"}) {
      EXPECT_EQ(rig.Button(name)->isEnabled(), master) << name;
    }
    EXPECT_TRUE(rig.Button("TPS_mapped")->isEnabled());
    rig.TakeRequests();
    rig.Button("map_type_1")->click();
    EXPECT_EQ(rig.Button("map_type_1")->isChecked(), master);
    rig.window->findChild<QPushButton*>("Command3d1")->click();
    EXPECT_EQ(rig.TakeRequests(),
              master ? std::vector<std::string>{CommandWithByte(130, 1)}
                     : std::vector<std::string>{});
  }
}

TEST(ConfigurationWindowTest, KeysCaptureButtonsAndLeavingTheWindow) {
  ConfigurationRig rig;
  rig.TakeRequests();
  CellEdit* hot_pulses = rig.Field("num_pulses_hot");
  hot_pulses->setFocus();
  QTest::keyClick(hot_pulses, Qt::Key_Return);
  EXPECT_TRUE(rig.TakeRequests().empty());

  CellEdit* ego_rate = rig.Field("ego_rate");
  ego_rate->setFocus();
  ego_rate->selectAll();
  QTest::keyClicks(ego_rate, "20");
  QAbstractButton* tps_mapped = rig.Button("TPS_mapped");
  tps_mapped->setFocus();
  QTest::keyClick(tps_mapped, Qt::Key_Return);
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

TEST(ConfigurationWindowTest,
     UnreadPhaseRowsAndOptionsShowUnknownAndStayUnsent) {
  ConsoleRig console;
  ASSERT_TRUE(console.Trigger("Menu_View_Injection"));
  console.port.silent_codes = {'C', 127};
  ASSERT_TRUE(console.StartLoop());
  auto* window = static_cast<ConfigurationWindow*>(
      console.app->WindowOf(View::kConfiguration));
  QApplication::processEvents();
  ASSERT_TRUE(window->isEnabled());
  // One offer to read again, answered with its default (No).
  int offers = 0;
  for (const std::string& text : console.prompts.texts()) {
    if (text.find("could not be read from the ECU") != std::string::npos)
      ++offers;
  }
  EXPECT_EQ(offers, 1);
  auto box = [&](const QString& name) {
    return window->findChild<QCheckBox*>(name);
  };
  for (int p = 0; p < kPhaseRows; ++p) {
    EXPECT_EQ(box(QString("inj_ph_%1_0").arg(p))->checkState(),
              Qt::PartiallyChecked)
        << p;
  }
  EXPECT_EQ(box("TPS_mapped")->checkState(), Qt::PartiallyChecked);
  EXPECT_EQ(box("MAP_accel")->checkState(), Qt::PartiallyChecked);
  EXPECT_FALSE(window->findChild<QAbstractButton*>("map_type_0")->isChecked());
  EXPECT_TRUE(window->findChild<CellEdit*>("max_rpm")->text().isEmpty());
  console.port.silent_codes.clear();
  console.TakeRequests();
  console.prompts.Clear();

  // A changed field and a changed check box: the field goes out, the
  // OPTIONS byte (half unknown) and the phase table do not.
  CellEdit* ego_rate = window->findChild<CellEdit*>("ego_rate");
  ego_rate->setFocus();
  ego_rate->selectAll();
  QTest::keyClicks(ego_rate, "20");
  box("MAP_accel")->click();
  EXPECT_EQ(box("MAP_accel")->checkState(), Qt::Checked);
  window->findChild<QPushButton*>("Command3d1")->click();
  EXPECT_EQ(console.TakeRequests(),
            std::vector<std::string>{CommandWithByte('c', 20)});
  EXPECT_EQ(console.prompts.shown().size(), 1u);

  // A box ticked in an unknown row sends that row as shown.
  box("inj_ph_2_1")->click();
  EXPECT_EQ(box("inj_ph_2_1")->checkState(), Qt::Checked);
  EXPECT_EQ(box("inj_ph_2_0")->checkState(), Qt::Unchecked);
  EXPECT_EQ(box("inj_ph_3_0")->checkState(), Qt::PartiallyChecked);
  console.prompts.Clear();
  window->findChild<QPushButton*>("Command3d1")->click();
  EXPECT_EQ(console.TakeRequests(),
            std::vector<std::string>{Command(128, 2, 2, 0)});
}

}  // namespace
}  // namespace ecu

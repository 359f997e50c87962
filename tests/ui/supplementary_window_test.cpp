#include "ui/supplementary_window.h"

#include <gtest/gtest.h>

#include <QRadioButton>

#include "core/link/frame.h"
#include "ui/console_rig.h"

namespace ecu::testing {
namespace {

TEST(SupplementaryWindowTest, FillsFromTheVirtualEcuAndSendsTheEdits) {
  ConsoleRig rig;
  auto* window =
      rig.OpenView<SupplementaryWindow>("menu_View_supp", View::kSupplementary);
  const auto source = [window](int i) {
    return window->findChild<QRadioButton*>(QString("supp_source_%1").arg(i));
  };
  const auto box = [window](const char* name) {
    return window->findChild<QLineEdit*>(name);
  };
  EXPECT_EQ(window->windowTitle(), "Supplimental Driver Mapping");
  EXPECT_TRUE(rig.prompts.shown().empty()) << rig.prompts.texts()[0];
  // The virtual ECU starts with the map disabled.
  EXPECT_TRUE(source(4)->isChecked());
  EXPECT_EQ(rig.Text("m_src"), "4");
  EXPECT_EQ(rig.Text("source_units"), "No Map Source");
  EXPECT_EQ(box("cool_thrsh")->text(), "93");
  EXPECT_EQ(box("map_data_0")->text(), "0.00");

  source(2)->click();
  source(1)->click();
  EXPECT_TRUE(source(1)->isChecked());
  EXPECT_EQ(rig.Text("m_src"), "1");
  EXPECT_EQ(rig.Text("source_units"), "TPS %");
  TypeOver(box("map_data_2"), "150");
  rig.port.ClearWritten();
  QTest::keyClick(box("map_data_2"), Qt::Key_Return);
  EXPECT_EQ(rig.TakeRequests(),
            (std::vector<std::string>{Command('x', 0xA6, 0xFF, 0x3F),
                                      Command(']', 1, 0, 0)}));
  EXPECT_EQ(box("map_data_2")->text(), "100.00");
  EXPECT_EQ(source(1)->palette().color(QPalette::WindowText), QColor(0, 0, 0));
}

}  // namespace
}  // namespace ecu::testing

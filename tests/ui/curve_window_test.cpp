#include "ui/curve_window.h"

#include <gtest/gtest.h>

#include <QRadioButton>

#include "core/link/frame.h"
#include "ui/console_rig.h"
#include "ui/supplementary_window.h"

namespace ecu::testing {
namespace {

TEST(CurveWindowTest, FillsSendsATypedCellAndTheEgoResetSparesTheSpareCell) {
  ConsoleRig rig;
  auto* window =
      rig.OpenView<CurveWindow>("menu_view_temperature", View::kCurves);
  const auto cell = [window](const QString& name) {
    return window->findChild<QLineEdit*>(name);
  };
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->windowTitle(), "Additional Mapping");
  EXPECT_FALSE(rig.app->main_window().isVisible());
  EXPECT_EQ(rig.ctx().console.live_window_mode, View::kCurves);
  EXPECT_TRUE(rig.prompts.shown().empty()) << rig.prompts.texts()[0];
  EXPECT_EQ(cell("clt_map_0")->text(), "1.500");
  EXPECT_EQ(cell("idle_rpm_map_8")->text(), "800");
  EXPECT_EQ(Background(cell("ego_map_23")), kWhiteMark);
  EXPECT_EQ(cell("ego_map_24")->text(), "");
  EXPECT_FALSE(cell("ego_map_24")->isEnabled());

  TypeOver(cell("idle_rpm_map_1"), "2100");
  EXPECT_EQ(Background(cell("idle_rpm_map_1")), kYellowMark);
  rig.port.ClearWritten();
  QTest::keyClick(cell("idle_rpm_map_1"), Qt::Key_Return);
  EXPECT_EQ(rig.TakeRequests(),
            std::vector<std::string>{Command('e', 0x31, 0x02, 255)});
  EXPECT_EQ(cell("idle_rpm_map_1")->text(), "2040");
  EXPECT_EQ(Background(cell("idle_rpm_map_1")), kWhiteMark);

  rig.prompts.QueueAnswer(Answer::kYes);
  ASSERT_TRUE(rig.TriggerIn(window, "menuresetegosetpoint"));
  EXPECT_EQ(rig.prompts.shown().back().title, "CAUTION!");
  for (int i = 0; i < kEgoSetPointCount; ++i) {
    const QString name = QString("ego_map_%1").arg(i);
    ASSERT_EQ(cell(name)->text(), "1.000") << i;
    ASSERT_EQ(Background(cell(name)), kYellowMark) << i;
  }
  EXPECT_EQ(cell("ego_map_24")->text(), "");
  EXPECT_EQ(Background(cell("clt_map_0")), kWhiteMark);
  EXPECT_TRUE(rig.port.written().empty());
}

TEST(CurveWindowTest, MarkerBarsFollowTheEngine) {
  ConsoleRig rig;
  auto* window =
      rig.OpenView<CurveWindow>("menu_view_temperature", View::kCurves);
  const auto bar = [&](const char* name) {
    window->AfterPollingPass();
    return *window->findChild<AxisStrip*>(name)->PointerPosition(0);
  };
  LiveData& live = rig.ctx().live;
  live.CLT = -13;
  const int cold = bar("clt_bar");
  live.CLT = 115;
  EXPECT_GT(bar("clt_bar"), cold + 100);
  // Where each marker sits is the editor's; the grid's bar runs upwards.
  live.MAP = live.MapOffset;
  const int low = bar("map_bar");
  live.MAP = live.MapOffset + live.MapSpan;
  EXPECT_LT(bar("map_bar"), low);
}

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

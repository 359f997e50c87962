#include "ui/curve_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <algorithm>

#include "core/link/frame.h"
#include "ui/console_rig.h"

namespace ecu {
namespace {

using testing::ConsoleRig;
using testing::kWhiteMark;
using testing::kYellowMark;

// The console with Additional Mapping opened from the View menu and filled.
struct CurveRig : ConsoleRig {
  explicit CurveRig(std::vector<std::string> arguments = {})
      : ConsoleRig(std::move(arguments)) {
    EXPECT_TRUE(Trigger("menu_view_temperature"));
    EXPECT_TRUE(StartLoop());
    window = static_cast<CurveWindow*>(app->WindowOf(View::kCurves));
    // The fill runs from the event loop once the window is up.
    QApplication::processEvents();
  }
  QLineEdit* Cell(const QString& name) {
    return window->findChild<QLineEdit*>(name);
  }
  QColor Background(const QString& name) {
    return Cell(name)->palette().color(QPalette::Base);
  }
  std::optional<int> Bar(const QString& name) {
    return window->findChild<AxisStrip*>(name)->PointerPosition(0);
  }
  CurveWindow* window = nullptr;
};

TEST(CurveWindowTest, FillsFromTheVirtualEcuAndSendsATypedCell) {
  CurveRig rig;
  ASSERT_NE(rig.window, nullptr);
  EXPECT_TRUE(rig.window->isVisible());
  EXPECT_EQ(rig.window->windowTitle(), "Additional Mapping");
  EXPECT_FALSE(rig.app->main_window().isVisible());
  EXPECT_EQ(rig.ctx().console.live_window_mode, View::kCurves);
  const std::vector<std::string> fields = rig.TakeRequests();
  // The fill: the configuration block, 72 curve points, 24 set points.
  const auto fill =
      std::find(fields.begin(), fields.end(), Command('E', 0x70, 0, 0));
  ASSERT_GE(fill - fields.begin(), 1);
  ASSERT_GE(fields.end() - fill, 96);
  EXPECT_EQ(*(fill - 1), "C000");
  EXPECT_EQ(*(fill + 95), Command('E', 0xEB, 0, 0));
  EXPECT_TRUE(rig.prompts.shown().empty()) << rig.prompts.texts()[0];
  EXPECT_EQ(rig.Cell("clt_map_0")->text(), "1.500");
  EXPECT_EQ(rig.Cell("idle_rpm_map_8")->text(), "800");
  EXPECT_EQ(rig.Background("ego_map_23"), kWhiteMark);
  EXPECT_EQ(rig.Cell("ego_map_24")->text(), "");
  EXPECT_FALSE(rig.Cell("ego_map_24")->isEnabled());

  QLineEdit* cell = rig.Cell("idle_rpm_map_1");
  cell->setFocus();
  cell->selectAll();
  QTest::keyClicks(cell, "2100");
  EXPECT_EQ(rig.Background("idle_rpm_map_1"), kYellowMark);
  rig.port.ClearWritten();
  QTest::keyClick(cell, Qt::Key_Return);
  EXPECT_EQ(rig.TakeRequests(),
            std::vector<std::string>{Command('e', 0x31, 0x02, 255)});
  EXPECT_EQ(cell->text(), "2040");
  EXPECT_EQ(rig.Background("idle_rpm_map_1"), kWhiteMark);
}

TEST(CurveWindowTest, TheEgoResetLeavesTheSpareCellAlone) {
  CurveRig rig;
  rig.port.ClearWritten();
  rig.prompts.QueueAnswer(Answer::kYes);
  ASSERT_TRUE(rig.TriggerIn(rig.window, "menuresetegosetpoint"));
  EXPECT_EQ(rig.prompts.shown().back().title, "CAUTION!");
  for (int i = 0; i < kEgoSetPointCount; ++i) {
    const QString name = QString("ego_map_%1").arg(i);
    ASSERT_EQ(rig.Cell(name)->text(), "1.000") << i;
    ASSERT_EQ(rig.Background(name), kYellowMark) << i;
  }
  EXPECT_EQ(rig.Cell("ego_map_24")->text(), "");
  EXPECT_EQ(rig.Background("clt_map_0"), kWhiteMark);
  EXPECT_TRUE(rig.port.written().empty());
}

TEST(CurveWindowTest, MarkerBarsStandWhereTheEngineIs) {
  CurveRig rig;
  LiveData& live = rig.ctx().live;
  auto place = [&](float clt) {
    live.CLT = clt;
    rig.window->AfterPollingPass();
    return *rig.Bar("clt_bar");
  };
  const int cold = place(-13);
  const int hot = place(115);
  EXPECT_GT(hot, cold + 100);
  EXPECT_NEAR(place(51), (cold + hot) / 2.0, 0.5);
  EXPECT_NEAR(*rig.Bar("idle_speed_bar"), (cold + hot) / 2.0, 0.5);
  // The idle curve's bar follows the coolant too, the retard's the air.
  live.MAT = -13;
  rig.window->AfterPollingPass();
  EXPECT_EQ(*rig.Bar("mat_bar2"), cold);
  // The grid's pressure bar runs upwards.
  live.MAP = live.MapOffset;
  rig.window->AfterPollingPass();
  const int low = *rig.Bar("map_bar");
  live.MAP = live.MapOffset + live.MapSpan;
  rig.window->AfterPollingPass();
  EXPECT_LT(*rig.Bar("map_bar"), low);
}

TEST(CurveWindowTest, SwitchEntriesOpenTheOtherEditors) {
  CurveRig rig;
  QStringList captions;
  for (QAction* action : rig.window->menuBar()->actions()) {
    captions << action->text();
  }
  EXPECT_TRUE(captions.contains("&Basic Map"));
  EXPECT_TRUE(captions.contains("&Supp. Drv."));
  EXPECT_FALSE(captions.contains("&Additional Map"));
  ASSERT_TRUE(rig.TriggerIn(rig.window, "menu_sup"));
  EXPECT_FALSE(rig.window->isVisible());
  rig.Ticks(1);
  EXPECT_TRUE(rig.app->WindowOf(View::kSupplementary)->isVisible());
  EXPECT_EQ(rig.ctx().console.live_window_mode, View::kSupplementary);
}

}  // namespace
}  // namespace ecu

#include "ui/advisor_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QTest>
#include <cstdio>

#include "support/temp_folder.h"
#include "ui/advisor_tools.h"
#include "ui/console_rig.h"
#include "ui/fuel_map_window.h"
#include "ui/log_viewer_window.h"
#include "ui/widgets/cell_grid.h"

namespace ecu::testing {
namespace {

// A warm, steady log: 20 samples at the centre of each cell given, with
// its lambda.
std::string LogAt(const MapAxes& axes,
                  const std::vector<std::tuple<int, int, double>>& cells) {
  std::string text =
      "Time,RPM,A/F,CLT,TPS,MAP,MAT,PW,CORR\r\nLog Begins on "
      "12-07-2026\r\n\r\n";
  int tenth = 0;
  for (const auto& [column, row, lambda] : cells) {
    const double rpm = (column + 0.5) / kMapColumns * axes.full_scale_rpm;
    const double kpa = axes.map_offset + (row + 0.5) / kMapRows * axes.map_span;
    for (int i = 0; i < 20; ++i, ++tenth) {
      char line[128];
      std::snprintf(
          line, sizeof line,
          "10:%02d:%02d.%d00,%.0f,%.3f,85,20.0,%.2f,25,3.000,1.000\r\n",
          tenth / 600, tenth / 10 % 60, tenth % 10, rpm, lambda, kpa);
      text += line;
    }
  }
  return text;
}

TEST(AdvisorWindowTest, ApplyMarksExactlyTheChangedCellsAndSendsNothing) {
  ConsoleRig rig;
  auto* map = rig.OpenView<FuelMapWindow>("menu_View_Mapping", View::kFuelMap);
  EXPECT_EQ(map->windowTitle(), "Basic Mapping");
  const auto cell = [map](int i) {
    return map->findChild<CellEdit*>(QString("map_data_%1").arg(i));
  };
  const MapAxes axes = MapAxesOf(rig.ctx().live, false);
  TempFolder folder;
  // Cell (3, 4) ran 10 % lean, (10, 8) 8 % rich.
  rig.app->advisor_tools().ViewLog(
      folder.Write("RUN.CSV", LogAt(axes, {{3, 4, 1.10}, {10, 8, 0.92}})));
  ASSERT_TRUE(
      rig.TriggerIn(rig.app->advisor_tools().log_viewer(), "menu_log_advise"));
  AdvisorWindow* advisor = rig.app->advisor_tools().advisor();
  ASSERT_NE(advisor, nullptr);
  EXPECT_TRUE(advisor->isVisible());
  const std::vector<CellProposal> proposals = advisor->model().Proposals();
  ASSERT_EQ(proposals.size(), 2u);
  EXPECT_EQ(proposals[0].cell, 16 * 3 + 4);
  EXPECT_EQ(proposals[1].cell, 16 * 10 + 8);
  EXPECT_EQ(advisor->hit_grid()->cells()[16 * 3 + 4].text, "20");

  // Left by its Exit, Basic Mapping keeps its cells and comes back.
  ASSERT_TRUE(rig.TriggerIn(map, "menufileexit"));
  EXPECT_FALSE(map->isVisible());
  rig.port.ClearWritten();
  auto* apply = advisor->findChild<QPushButton*>("advisor_apply");
  ASSERT_TRUE(apply->isEnabled());
  QTest::mouseClick(apply, Qt::LeftButton);
  EXPECT_TRUE(map->isVisible());
  QApplication::processEvents();
  // Shown again it may read; it writes nothing.
  for (const std::string& request : rig.TakeRequests()) {
    EXPECT_NE(request[0], 'e') << request;
  }
  for (int i = 0; i < kMapCellCount; ++i) {
    const bool proposed = i == proposals[0].cell || i == proposals[1].cell;
    ASSERT_EQ(Background(cell(i)) == kYellowMark, proposed) << i;
  }
  EXPECT_EQ(cell(proposals[0].cell)->text().toStdString(), proposals[0].text);
  EXPECT_EQ(cell(proposals[1].cell)->text().toStdString(), proposals[1].text);
  // Applied cells await the Update: nothing more to propose for them.
  EXPECT_TRUE(advisor->model().Proposals().empty());

  // Basic Mapping's Update sends them, and only them.
  ASSERT_TRUE(rig.TriggerIn(map, "menuupdate"));
  QApplication::processEvents();
  std::vector<int> written;
  for (const std::string& request : rig.TakeRequests()) {
    if (request[0] == 'e') written.push_back(static_cast<uint8_t>(request[1]));
  }
  EXPECT_EQ(written, (std::vector<int>{16 * 3 + 4, 16 * 10 + 8}));
  EXPECT_NE(Background(cell(proposals[0].cell)), kYellowMark);
}

TEST(AdvisorWindowTest, WithoutBasicMappingNothingIsProposed) {
  ConsoleRig rig({"demo"});
  TempFolder folder;
  rig.app->advisor_tools().ViewLog(
      folder.Write("RUN.CSV", LogAt(MapAxes{}, {{3, 4, 1.10}})));
  rig.app->advisor_tools().ShowAdvisor();
  AdvisorWindow* advisor = rig.app->advisor_tools().advisor();
  EXPECT_TRUE(advisor->model().Proposals().empty());
  EXPECT_TRUE(rig.Text("advisor_summary").startsWith("Basic Mapping has not"));
  EXPECT_FALSE(advisor->findChild<QPushButton*>("advisor_apply")->isEnabled());
}

TEST(AdvisorWindowTest, TheEgoTargetIsReadFromTheEcuAndNeverMadeUp) {
  for (const bool demo : {false, true}) {
    ConsoleRig rig(demo ? std::vector<std::string>{"demo"}
                        : std::vector<std::string>{});
    rig.ctx().link.EnsureLink();
    rig.app->advisor_tools().ShowAdvisor();
    AdvisorWindow* advisor = rig.app->advisor_tools().advisor();
    auto* target = advisor->findChild<QComboBox*>("advisor_target");
    rig.port.ClearWritten();
    rig.prompts.Clear();
    target->setCurrentIndex(1);  // EGO set points
    QApplication::processEvents();
    const LambdaTarget& used = advisor->model().target();
    if (demo) {
      // No ECU to read them from: said, and the fixed lambda stays.
      EXPECT_EQ(rig.prompts.texts().size(), 1u);
      EXPECT_EQ(target->currentIndex(), 0);
      EXPECT_EQ(used.fixed, 1.0);
    } else {
      EXPECT_EQ(rig.TakeRequests().size(), size_t{kEgoSetPointCount});
      EXPECT_FALSE(used.fixed.has_value());
      EXPECT_TRUE(used.ego_grid[0].has_value());
      EXPECT_TRUE(used.ego_grid[kEgoSetPointCount - 1].has_value());
    }
  }
}

// AFR chosen: the viewer's mixture and the advisor's fixed target are shown
// and typed in AFR, and the target kept as lambda.
TEST(AdvisorWindowTest, AfrChosenShowsTheLogMixtureAndTakesTheTargetAsAfr) {
  ConsoleRig rig;
  TempFolder folder;
  ASSERT_TRUE(rig.Trigger("menu_units_gasoline"));
  AdvisorTools& tools = rig.app->advisor_tools();
  tools.ViewLog(folder.Write(
      "RUN.CSV", LogAt(MapAxesOf(rig.ctx().live, false), {{3, 4, 0.90}})));
  LogViewerWindow* viewer = tools.log_viewer();
  viewer->resize(1000, 500);
  QApplication::processEvents();
  QTest::mouseClick(viewer->chart(), Qt::LeftButton, {},
                    QPoint(int(viewer->chart()->PlotArea().left() + 1), 50));
  auto* mixture = viewer->findChild<QCheckBox*>("log_channel_1");
  EXPECT_EQ(mixture->text(), "AFR");
  EXPECT_EQ(rig.Text("log_value_1"), "13.23");  // lambda 0.90 at 14.7

  tools.ShowAdvisor();
  AdvisorWindow* advisor = tools.advisor();
  auto* target = advisor->findChild<QDoubleSpinBox*>("advisor_target_lambda");
  EXPECT_DOUBLE_EQ(target->value(), 14.7);
  target->selectAll();
  QTest::keyClicks(target, "13.23");
  QTest::keyClick(target, Qt::Key_Return);
  ASSERT_TRUE(advisor->model().target().fixed.has_value());
  EXPECT_NEAR(*advisor->model().target().fixed, 0.90, 1e-9);

  // Back to lambda: both follow when shown again, the target unchanged.
  ASSERT_TRUE(rig.Trigger("menu_units_lambda"));
  advisor->Recompute();
  EXPECT_DOUBLE_EQ(target->value(), 0.90);
  viewer->hide();
  viewer->show();
  EXPECT_EQ(mixture->text(), "A/F");
  EXPECT_EQ(rig.Text("log_value_1"), "0.90");
}

}  // namespace
}  // namespace ecu::testing

#include "ui/advisor_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>
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

// Demo scaling: 8000 rev/min, 10 to 125 kPa. Three samples in cell
// (2, 2), one in the top right cell, and a line that cannot be read.
const char kLog[] =
    "Time,RPM,A/F,CLT,TPS,MAP,MAT,PW,CORR\r\n"
    "Log Begins on 12-07-2026\r\n"
    "\r\n"
    "10:00:00,1250,1.02,85,10.0,30.0,25,3.000,1.000\r\n"
    "10:00:01,1260,0.98,85,10.2,30.5,25,3.100,1.000\r\n"
    "10:00:02,1255,1.01,86,10.1,31.0,25,3.050,1.000\r\n"
    "10:00:03,7900,0.87,88,99.0,120.0,30,14.200,1.000\r\n"
    "10:00:04,oops\r\n";

TEST(LogViewerTest, OpensALogAndCountsItsSamplesInEachCell) {
  ConsoleRig rig({"demo"});
  rig.ctx().link.EnsureLink();
  rig.StartLoop();  // demo mode sets its full scale
  TempFolder folder;
  rig.prompts.QueueFileName(folder.Write("RUN.CSV", kLog));
  ASSERT_TRUE(rig.Trigger("menu_file_open_log"));
  LogViewerWindow* viewer = rig.app->advisor_tools().log_viewer();
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_EQ(viewer->windowTitle(), "Data Log Viewer - RUN.CSV");
  const MapGridCells& cells = viewer->hit_grid()->cells();
  EXPECT_EQ(
      (std::vector{cells[16 * 2 + 2].text, cells[255].text, cells[0].text}),
      (std::vector<std::string>{"3", "1", ""}));
  // More samples, deeper blue.
  EXPECT_LT(cells[16 * 2 + 2].background.r, cells[255].background.r);
  EXPECT_THAT(rig.Text("log_summary").toStdString(),
              AllOf(StartsWith("4 samples, 00:00:03 from 10:00:00"),
                    HasSubstr("1 line could not be read (line 8: 9 fields "
                              "expected, 2 found)")));

  // A click on the chart puts the cursor on the nearest sample: its values
  // beside the channels, its cell outlined.
  LogChart* chart = viewer->chart();
  viewer->resize(1000, 500);
  QApplication::processEvents();
  const QRectF area = chart->PlotArea();
  const double x = area.left() + area.width() * 2.9 / 3.0;  // nearest 10:00:03
  QTest::mouseClick(chart, Qt::LeftButton, {}, QPoint(int(x), 50));
  EXPECT_EQ(rig.Text("log_cursor_time"), "10:00:03.0");
  EXPECT_EQ(rig.Text("log_value_0"), "7900");
  EXPECT_EQ(rig.Text("log_value_1"), "0.87");
  EXPECT_EQ(rig.Text("log_value_6"), "14.200");
  EXPECT_TRUE(viewer->hit_grid()->cells()[255].outlined);
  EXPECT_FALSE(viewer->hit_grid()->cells()[16 * 2 + 2].outlined);
  // Left steps the cursor back a sample.
  QTest::keyClick(chart, Qt::Key_Left);
  EXPECT_EQ(rig.Text("log_value_0"), "1255");
  EXPECT_TRUE(viewer->hit_grid()->cells()[16 * 2 + 2].outlined);
}

TEST(LogViewerTest, WheelZoomsDragPansAndABadFileKeepsTheLog) {
  ConsoleRig rig({"demo"});
  TempFolder folder;
  // As "ecu-console RUN.CSV" opens it.
  rig.app->OpenFile(folder.Write("RUN.CSV", kLog));
  LogViewerWindow* viewer = rig.app->advisor_tools().log_viewer();
  LogViewModel& model = viewer->model();
  LogChart* chart = viewer->chart();
  viewer->resize(1000, 500);
  QApplication::processEvents();
  EXPECT_DOUBLE_EQ(model.view_end() - model.view_begin(), 3);
  // Two notches in about the middle of the chart.
  const QRectF area = chart->PlotArea();
  const QPointF middle(area.center().x(), 50);
  QWheelEvent wheel(middle, chart->mapToGlobal(middle), {}, {0, 240},
                    Qt::NoButton, {}, Qt::NoScrollPhase, false);
  QApplication::sendEvent(chart, &wheel);
  EXPECT_NEAR(model.view_end() - model.view_begin(), 1.92, 1e-9);
  EXPECT_NEAR((model.view_begin() + model.view_end()) / 2, 36001.5, 1e-9);
  // Dragging to the right brings earlier samples in.
  const double begin = model.view_begin();
  QTest::mousePress(chart, Qt::LeftButton, {}, middle.toPoint());
  QTest::mouseMove(chart, (middle + QPointF(area.width() / 4, 0)).toPoint());
  QTest::mouseRelease(chart, Qt::LeftButton, {},
                      (middle + QPointF(area.width() / 4, 0)).toPoint());
  EXPECT_NEAR(model.view_begin(), begin - 0.48, 0.01);
  EXPECT_FALSE(model.cursor().has_value());  // a drag is not a click

  rig.prompts.Clear();
  EXPECT_FALSE(viewer->OpenLog(folder.Write("NOT.CSV", "ACC_SEN = 50\r\n")));
  EXPECT_THAT(rig.prompts.texts(), ElementsAre(HasSubstr("not a data log")));
  EXPECT_EQ(model.log().samples.size(), 4u);
}

}  // namespace
}  // namespace ecu::testing

#include <gtest/gtest.h>

#include <QTest>
#include <QWheelEvent>

#include "support/temp_folder.h"
#include "ui/advisor_tools.h"
#include "ui/console_rig.h"
#include "ui/log_viewer_window.h"

namespace ecu::testing {
namespace {

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
  EXPECT_EQ(cells[16 * 2 + 2].text, "3");
  EXPECT_EQ(cells[255].text, "1");
  EXPECT_EQ(cells[0].text, "");
  // More samples, deeper blue.
  EXPECT_LT(cells[16 * 2 + 2].background.r, cells[255].background.r);
  const QString summary = rig.Text("log_summary");
  EXPECT_TRUE(summary.startsWith("4 samples, 00:00:03 from 10:00:00"))
      << summary.toStdString();
  EXPECT_TRUE(summary.contains(
      "1 line could not be read (line 8: 9 fields expected, 2 found)"))
      << summary.toStdString();

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
  ASSERT_EQ(rig.prompts.texts().size(), 1u);
  EXPECT_NE(rig.prompts.texts()[0].find("not a data log"), std::string::npos);
  EXPECT_EQ(model.log().samples.size(), 4u);
}

}  // namespace
}  // namespace ecu::testing

#include "ui/fuel_map_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "core/link/frame.h"
#include "ui/console_rig.h"

namespace ecu {
namespace {

using testing::ConsoleRig;
using testing::kWhiteMark;
using testing::kYellowMark;

// The console with Basic Mapping opened from the View menu and filled.
struct FuelMapRig : ConsoleRig {
  explicit FuelMapRig(std::vector<std::string> arguments = {})
      : ConsoleRig(std::move(arguments)) {
    EXPECT_TRUE(Trigger("menu_View_Mapping"));
    EXPECT_TRUE(StartLoop());
    window = static_cast<FuelMapWindow*>(app->WindowOf(View::kFuelMap));
    // The fill runs from the event loop once the window is up.
    QApplication::processEvents();
  }
  CellEdit* Cell(const QString& name) {
    return window->findChild<CellEdit*>(name);
  }
  QColor Background(const QString& name) {
    return Cell(name)->palette().color(QPalette::Base);
  }
  FuelMapWindow* window = nullptr;
};

TEST(FuelMapWindowTest, FillsFromTheVirtualEcuAndSendsATypedCell) {
  FuelMapRig rig;
  ASSERT_NE(rig.window, nullptr);
  EXPECT_TRUE(rig.window->isVisible());
  EXPECT_EQ(rig.window->windowTitle(), "Basic Mapping");
  EXPECT_FALSE(rig.app->main_window().isVisible());
  const std::vector<std::string> fields = rig.TakeRequests();
  // The configuration block, then the fill.
  ASSERT_GE(fields.size(), 1u + 2u + 256u + 18u);
  EXPECT_EQ(fields[0], "C000");
  EXPECT_EQ(fields[1], "B000");
  EXPECT_EQ(fields[2], "Z000");
  EXPECT_EQ(fields[3 + 17], Command('E', 0x11, 0x01, 0));
  EXPECT_EQ(fields[3 + 256], Command('X', 0xB4, 0, 0));
  EXPECT_EQ(fields[3 + 256 + 17], Command('E', 0xCE, 0, 0));
  EXPECT_TRUE(rig.prompts.shown().empty()) << rig.prompts.texts()[0];
  for (int i = 0; i < kMapCellCount; ++i) {
    const QString name = QString("map_data_%1").arg(i);
    ASSERT_FALSE(rig.Cell(name)->text().isEmpty()) << i;
    ASSERT_NE(rig.Background(name), kYellowMark) << i;
  }
  for (const char* name :
       {"ecu_pgm_0", "ecu_pgm_1", "tps_rpm", "tps_pw_8", "tps_percent_8"}) {
    EXPECT_EQ(rig.Background(name), kWhiteMark) << name;
  }

  CellEdit* cell = rig.Cell("map_data_17");
  cell->setFocus();
  cell->selectAll();
  QTest::keyClicks(cell, "1.25");
  EXPECT_EQ(rig.Background("map_data_17"), kYellowMark);
  rig.port.ClearWritten();
  QTest::keyClick(cell, Qt::Key_Return);
  EXPECT_EQ(rig.TakeRequests(),
            std::vector<std::string>{Command('e', 0x11, 0x01, 160)});
  EXPECT_EQ(cell->text(), "1.25");
  EXPECT_EQ(rig.Background("map_data_17"), kWhiteMark);
}

TEST(FuelMapWindowTest, KeysMoveNudgeAndSelectABlock) {
  FuelMapRig rig({"demo"});
  CellEdit* cell = rig.Cell("map_data_17");
  rig.window->activateWindow();
  cell->setFocus();
  QTest::keyClick(cell, Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(cell->text(), "1.01");
  EXPECT_EQ(rig.Background("map_data_17"), kYellowMark);
  EXPECT_EQ(cell->palette().color(QPalette::Text), QColor(255, 0, 0));
  QTest::keyClick(cell, Qt::Key_Down);
  EXPECT_EQ(QApplication::focusWidget(), rig.Cell("map_data_16"));
  EXPECT_EQ(cell->palette().color(QPalette::Text), QColor(0, 0, 0));

  const QColor band = rig.Background("map_data_34");
  // Ctrl down over cell 18, Left while held, Ctrl up over cell 2: the
  // block is columns 0..1 of row 2.
  CellEdit* start = rig.Cell("map_data_18");
  start->setFocus();
  QTest::keyPress(start, Qt::Key_Control);
  // Left with Ctrl held (QTest would press and release Ctrl around it).
  QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::ControlModifier);
  QApplication::sendEvent(start, &left);
  CellEdit* end = rig.Cell("map_data_2");
  ASSERT_EQ(QApplication::focusWidget(), end);
  QTest::keyRelease(end, Qt::Key_Control);
  BlockModifierWindow* modifier = rig.window->modifier_window();
  ASSERT_TRUE(modifier->isVisible());
  EXPECT_EQ(modifier->windowTitle(), "Modify Block of Cells");
  auto* multiply = modifier->findChild<QLineEdit*>("multiply");
  multiply->selectAll();
  QTest::keyClicks(multiply, "1.5");
  rig.prompts.QueueAnswer(Answer::kYes);
  modifier->findChild<QPushButton*>("cell_operation_1")->click();
  EXPECT_FALSE(modifier->isVisible());
  for (const char* name : {"map_data_2", "map_data_18"}) {
    EXPECT_EQ(rig.Cell(name)->text(), "1.50") << name;
    EXPECT_EQ(rig.Background(name), kYellowMark) << name;
  }
  EXPECT_EQ(rig.Cell("map_data_17")->text(), "1.01");
  EXPECT_EQ(rig.Cell("map_data_19")->text(), "1.00");
  EXPECT_EQ(rig.Cell("map_data_34")->text(), "1.00");

  // Ctrl+Z in a cell takes the whole block back, marks and all; the nudge
  // before it stays. Ctrl+Shift+Z and the Edit menu do it again and undo.
  end->setFocus();
  QTest::keyClick(end, Qt::Key_Z, Qt::ControlModifier);
  // Back in the value band the fill gave them (the map is flat: the lowest).
  for (const char* name : {"map_data_1", "map_data_2", "map_data_18"}) {
    EXPECT_EQ(rig.Background(name), band) << name;
  }
  EXPECT_EQ(rig.Background("map_data_17"), kYellowMark);
  EXPECT_EQ(rig.Cell("map_data_2")->text(), "1.00");
  EXPECT_EQ(rig.Cell("map_data_17")->text(), "1.01");
  QTest::keyClick(end, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(rig.Cell("map_data_18")->text(), "1.50");
  EXPECT_EQ(rig.Background("map_data_18"), kYellowMark);
  ASSERT_TRUE(rig.TriggerIn(rig.window, "menu_edit_undo"));
  EXPECT_EQ(rig.Cell("map_data_18")->text(), "1.00");
  // New menus follow the described ones: Edit, then the advisor's.
  const QList<QAction*> menus = rig.window->menuBar()->actions();
  ASSERT_GE(menus.size(), 2);
  EXPECT_EQ(menus[menus.size() - 2]->text(), "&Edit");
  EXPECT_EQ(menus.back()->text(), "&Advisor");
}

TEST(FuelMapWindowTest, DemoLiveCellGraphAndTheCloseBox) {
  FuelMapRig rig({"demo"});
  rig.Ticks(2);
  const int live = rig.window->editor().operating_point().live_index;
  // Demo speed is about 3200 of 8000, load about 22 of 115 kPa above 10.
  EXPECT_EQ(live, 16 * 6 + 3);
  EXPECT_EQ(rig.Background(QString("map_data_%1").arg(live)),
            QColor(0, 255, 255));
  EXPECT_FALSE(
      rig.window->findChild<QLabel*>("control_lambda")->text().isEmpty());
  EXPECT_TRUE(rig.window->speed_axis()->PointerPosition(0).has_value());

  rig.window->findChild<QPushButton*>("Command1")->click();
  SurfaceGraphWindow* graph = rig.window->graph_window();
  ASSERT_TRUE(graph->isVisible());
  EXPECT_EQ(graph->windowTitle(), "Mapping Surface Graph");
  EXPECT_EQ(graph->findChild<QScrollBar*>("HScroll1")->value(), 60);
  EXPECT_EQ(graph->findChild<QScrollBar*>("VScroll1")->value(), 30);
  graph->findChild<QScrollBar*>("HScroll1")->setValue(20);
  EXPECT_EQ(rig.window->editor().graph().view().h_scroll, 20);
  const QImage drawn = graph->surface()->grab().toImage();
  EXPECT_FALSE(drawn.isNull());

  // The close box: back to the console; the next opening starts afresh.
  QTest::keyClick(rig.Cell("map_data_40"), Qt::Key_7);
  EXPECT_EQ(rig.Cell("map_data_40")->text(), "1.007");
  rig.window->close();
  EXPECT_FALSE(rig.window->isVisible());
  EXPECT_FALSE(graph->isVisible());
  EXPECT_TRUE(rig.app->main_window().isVisible());
  EXPECT_EQ(rig.ctx().console.live_window_mode, View::kNone);
  ASSERT_TRUE(rig.Trigger("menu_View_Mapping"));
  QApplication::processEvents();
  EXPECT_EQ(rig.Cell("map_data_40")->text(), "1.00");
  EXPECT_EQ(rig.window->editor().graph().view().h_scroll, 60);
}

}  // namespace
}  // namespace ecu

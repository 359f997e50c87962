#include "ui/fuel_map_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "core/link/frame.h"
#include "ui/console_rig.h"
#include "ui/curve_window.h"
#include "ui/supplementary_window.h"

namespace ecu::testing {
namespace {

// Basic Mapping opened from the View menu and filled; cell(i) is map_data_i.
struct FuelMapRig : ConsoleRig {
  explicit FuelMapRig(std::vector<std::string> arguments = {})
      : ConsoleRig(std::move(arguments)),
        window(OpenView<FuelMapWindow>("menu_View_Mapping", View::kFuelMap)) {}
  CellEdit* cell(int i) {
    return window->findChild<CellEdit*>(QString("map_data_%1").arg(i));
  }
  FuelMapWindow* window;
};

TEST(FuelMapWindowTest, KeysNudgeSelectABlockAndUndo) {
  FuelMapRig rig({"demo"});
  CellEdit* cell = rig.cell(17);
  rig.window->activateWindow();
  cell->setFocus();
  QTest::keyClick(cell, Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(cell->text(), "1.01");
  EXPECT_EQ(Background(cell), kYellowMark);
  EXPECT_EQ(cell->palette().color(QPalette::Text), QColor(255, 0, 0));
  QTest::keyClick(cell, Qt::Key_Down);
  EXPECT_EQ(QApplication::focusWidget(), rig.cell(16));
  EXPECT_EQ(cell->palette().color(QPalette::Text), QColor(0, 0, 0));

  const QColor band = Background(rig.cell(34));
  // Ctrl down over cell 18, Left while held (QTest would press and release
  // Ctrl around it), Ctrl up over cell 2: columns 0..1 of row 2.
  rig.cell(18)->setFocus();
  QTest::keyPress(rig.cell(18), Qt::Key_Control);
  QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::ControlModifier);
  QApplication::sendEvent(rig.cell(18), &left);
  CellEdit* end = rig.cell(2);
  ASSERT_EQ(QApplication::focusWidget(), end);
  QTest::keyRelease(end, Qt::Key_Control);
  BlockModifierWindow* modifier = rig.window->modifier_window();
  ASSERT_TRUE(modifier->isVisible());
  TypeOver(modifier->findChild<QLineEdit*>("multiply"), "1.5");
  rig.prompts.QueueAnswer(Answer::kYes);
  modifier->findChild<QPushButton*>("cell_operation_1")->click();
  EXPECT_FALSE(modifier->isVisible());
  const auto texts = [&rig](std::initializer_list<int> cells) {
    QStringList out;
    for (int i : cells) out << rig.cell(i)->text();
    return out;
  };
  EXPECT_EQ(texts({2, 18, 17, 19, 34}),
            (QStringList{"1.50", "1.50", "1.01", "1.00", "1.00"}));
  EXPECT_EQ(Background(rig.cell(2)), kYellowMark);

  // Ctrl+Z in a cell takes the whole block back, marks and all (back in the
  // lowest band: the map is flat); the nudge before it stays. Ctrl+Shift+Z
  // and the Edit menu redo and undo.
  end->setFocus();
  QTest::keyClick(end, Qt::Key_Z, Qt::ControlModifier);
  for (int i : {1, 2, 18}) EXPECT_EQ(Background(rig.cell(i)), band) << i;
  EXPECT_EQ(Background(rig.cell(17)), kYellowMark);
  EXPECT_EQ(texts({2, 17}), (QStringList{"1.00", "1.01"}));
  QTest::keyClick(end, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(rig.cell(18)->text(), "1.50");
  ASSERT_TRUE(rig.TriggerIn(rig.window, "menu_edit_undo"));
  EXPECT_EQ(rig.cell(18)->text(), "1.00");
}

TEST(FuelMapWindowTest, DemoLiveCellGraphAndTheCloseBox) {
  FuelMapRig rig({"demo"});
  rig.Ticks(2);
  const int live = rig.window->editor().operating_point().live_index;
  // Demo speed is about 3200 of 8000, load about 22 of 115 kPa above 10.
  EXPECT_EQ(live, 16 * 6 + 3);
  EXPECT_EQ(Background(rig.cell(live)), QColor(0, 255, 255));
  EXPECT_TRUE(rig.window->speed_axis()->PointerPosition(0).has_value());

  rig.window->findChild<QPushButton*>("Command1")->click();
  SurfaceGraphWindow* graph = rig.window->graph_window();
  ASSERT_TRUE(graph->isVisible());
  EXPECT_EQ(graph->findChild<QScrollBar*>("HScroll1")->value(), 60);
  EXPECT_EQ(graph->findChild<QScrollBar*>("VScroll1")->value(), 30);
  graph->findChild<QScrollBar*>("HScroll1")->setValue(20);
  EXPECT_EQ(rig.window->editor().graph().view().h_scroll, 20);
  EXPECT_FALSE(graph->surface()->grab().toImage().isNull());

  // The close box: back to the console; the next opening starts afresh.
  QTest::keyClick(rig.cell(40), Qt::Key_7);
  EXPECT_EQ(rig.cell(40)->text(), "1.007");
  rig.window->close();
  EXPECT_FALSE(graph->isVisible());
  EXPECT_TRUE(rig.app->main_window().isVisible());
  EXPECT_EQ(rig.ctx().console.live_window_mode, View::kNone);
  ASSERT_TRUE(rig.Trigger("menu_View_Mapping"));
  QApplication::processEvents();
  EXPECT_EQ(rig.cell(40)->text(), "1.00");
  EXPECT_EQ(rig.window->editor().graph().view().h_scroll, 60);
}

TEST(CurveWindowTest, FillsSendsATypedCellAndTheEgoResetSparesTheSpareCell) {
  ConsoleRig rig;
  auto* window =
      rig.OpenView<CurveWindow>("menu_view_temperature", View::kCurves);
  const auto cell = [window](const QString& name) {
    return window->findChild<QLineEdit*>(name);
  };
  EXPECT_TRUE(window->isVisible());
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
  EXPECT_GT(bar("idle_speed_bar"), cold + 100);  // the idle curve's too
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

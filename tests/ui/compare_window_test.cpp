#include "ui/compare_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include "core/calibration/catalogue.h"
#include "core/calibration/setup_file_writer.h"
#include "sim/memory_cells.h"
#include "support/temp_folder.h"
#include "ui/console_rig.h"
#include "ui/workbench.h"

namespace ecu::testing {
namespace {

TEST(CompareWindowTest, ListsASeededDifferenceAndCopiesItBack) {
  ConsoleRig rig;
  TempFolder folder;
  const std::string path = folder.Path("tune.SET");
  rig.ctx().link.EnsureLink();
  ASSERT_TRUE(
      SetupFileWriter(rig.ctx().link, rig.ctx().image).save(path).file_ok);
  sim::CalibrationMemory& memory = rig.port.ecu()->memory();
  const int original = memory.TableByte(0x100 + 17);
  sim::SetCellValue(memory, *FindTable("MAPM"), 17, 200);

  // After the standard entries of the File menu.
  auto* compare =
      rig.app->main_window().findChild<QAction*>("menu_file_compare");
  ASSERT_NE(compare, nullptr);
  EXPECT_EQ(compare->text(), "Compare...");
  compare->trigger();
  auto* window = rig.Find<CompareWindow>("frm_compare");
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());

  rig.prompts.QueueFileName(path);
  QTest::mouseClick(rig.Find<QPushButton>("compare_b_browse"), Qt::LeftButton);
  EXPECT_EQ(rig.Find<QLineEdit>("compare_b_path")->text().toStdString(), path);
  QTest::mouseClick(rig.Find<QPushButton>("compare_run"), Qt::LeftButton);

  EXPECT_EQ(rig.Text("compare_summary"),
            "1 item differs between A (ECU) and B (tune.SET).");
  auto* list = rig.Find<QTreeWidget>("compare_list");
  ASSERT_EQ(list->topLevelItemCount(), 1);
  QTreeWidgetItem* group = list->topLevelItem(0);
  EXPECT_EQ(group->text(0), "MAPM: fuel map gain, 1 of 256 differ");
  ASSERT_EQ(group->childCount(), 1);
  QTreeWidgetItem* item = group->child(0);
  EXPECT_EQ(item->text(0), "MAPM[017]");
  EXPECT_EQ(item->text(4), "200");  // raw, A
  EXPECT_EQ(item->text(5), QString::number(original));
  // Cell 17 is column 1, row 1: one up from the bottom row.
  auto* map = rig.Find<QTableWidget>("compare_grid_MAPM");
  EXPECT_EQ(map->item(14, 1)->background().color(), QColor(0, 0, 255));
  EXPECT_EQ(map->item(15, 1)->background().color(), QColor(Qt::white));

  group->setCheckState(0, Qt::Checked);  // picks the whole table
  rig.port.ClearWritten();
  rig.prompts.QueueAnswer(Answer::kYes);
  QTest::mouseClick(rig.Find<QPushButton>("compare_copy"), Qt::LeftButton);
  EXPECT_EQ(memory.TableByte(0x100 + 17), original);
  EXPECT_EQ(rig.port.written().size(), 1u);
  EXPECT_EQ(rig.Text("compare_summary"),
            "No item differs between A (ECU) and B (tune.SET).");
  EXPECT_EQ(list->topLevelItemCount(), 0);
}

// ecu-console FILE.SET: the answer to the console's question decides
// between the compare window and the File menu's upload.
TEST(OpenedFileWindowTest, SetupFileIsComparedByDefaultAndLoadedOnYes) {
  TempFolder folder;
  const std::string file = folder.Write("BASE.SET", "ACC_SEN = 50\r\n");
  const char write = static_cast<char>(FindScalar("ACC_SEN")->write_code);
  ConsoleRig rig;

  rig.prompts.QueueAnswer(Answer::kNo);
  rig.app->OpenFile(file);
  QApplication::processEvents();
  CompareWindow* compare = rig.app->workbench().compare_window();
  ASSERT_NE(compare, nullptr);
  EXPECT_TRUE(compare->isVisible());
  EXPECT_EQ(rig.FindIn<QLineEdit>(compare, "compare_b_path")->text(),
            QString::fromStdString(file));
  for (const std::string& request : rig.TakeRequests()) {
    EXPECT_NE(request[0], write) << "a compare writes nothing";
  }

  rig.prompts.QueueAnswer(Answer::kYes);
  rig.app->OpenFile(file);
  QApplication::processEvents();
  bool written = false;
  for (const std::string& request : rig.TakeRequests()) {
    written = written || request[0] == write;
  }
  EXPECT_TRUE(written) << "the upload writes the file's line";
}

}  // namespace
}  // namespace ecu::testing

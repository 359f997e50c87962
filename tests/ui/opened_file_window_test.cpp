// ecu-console FILE.SET: the answer to the console's question decides
// between the compare window and the File menu's upload.

#include <QApplication>
#include <QLineEdit>

#include "core/calibration/catalogue.h"
#include "support/temp_folder.h"
#include "ui/compare_window.h"
#include "ui/console_rig.h"
#include "ui/workbench.h"

namespace ecu::testing {
namespace {

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

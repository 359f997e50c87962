#include "core/console/file_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/context_rig.h"
#include "support/temp_folder.h"

namespace ecu {
namespace {

namespace fs = std::filesystem;

class RecordingBusy : public BusyView {
 public:
  void BeginBusy() override {
    events.push_back("begin");
    fractions.push_back(kProgressStub);
  }
  void ShowProgress(double f) override { fractions.push_back(f); }
  void EndBusy() override { events.push_back("end"); }

  std::vector<std::string> events;
  std::vector<double> fractions;
};

struct FileRig : testing::ContextRig {
  RecordingBusy busy;
  FileCommands files{ctx, busy};
  testing::TempFolder folder;
};

TEST(FileCommandsTest, DialogSettings) {
  const FileDialog open = FileCommands::SetupFileDialog(false);
  EXPECT_EQ(open.filter, "Setup Files (*.set)|");
  EXPECT_EQ(open.default_extension, "set");
  EXPECT_EQ(open.initial_name, "*.SET");
  EXPECT_FALSE(open.ask_before_overwrite);
  EXPECT_TRUE(FileCommands::SetupFileDialog(true).ask_before_overwrite);
}

TEST(FileCommandsTest, CancelledSaveCreatesNothingAndSendsNothing) {
  FileRig rig;
  rig.prompts.QueueFileName("");  // cancel
  rig.files.Save();
  rig.prompts.QueueFileName("*.SET");  // OK without a name
  rig.files.Save();
  EXPECT_TRUE(rig.port.written().empty());
  EXPECT_TRUE(rig.busy.events.empty());
  EXPECT_TRUE(fs::is_empty(rig.folder.path()));
}

TEST(FileCommandsTest, OpenReadsTheConfigurationBeforeTheDialog) {
  FileRig rig;
  rig.prompts.QueueFileName("*.SET");
  rig.files.Open();
  ASSERT_FALSE(rig.port.written().empty());
  EXPECT_EQ(rig.TakeCodes().front(), 'C');
  EXPECT_EQ(rig.prompts.dialogs().size(), 1u);
  EXPECT_TRUE(rig.busy.events.empty());
}

TEST(FileCommandsTest, OneLineFileShowsTheFillAtZeroBeforeItsLine) {
  FileRig rig;
  rig.prompts.QueueFileName(rig.folder.WriteLines("one.set", {"EGO_RATE= 12"}));
  rig.files.Open();
  EXPECT_EQ(rig.busy.events, (std::vector<std::string>{"begin", "end"}));
  ASSERT_GE(rig.busy.fractions.size(), 2u);
  EXPECT_DOUBLE_EQ(rig.busy.fractions[0], kProgressStub);
  EXPECT_DOUBLE_EQ(rig.busy.fractions[1], 0.0);
  // The line went out with its write code ("c") and the value 12.
  EXPECT_EQ(static_cast<uint8_t>(rig.port.written().back()[2]), 'c');
  EXPECT_EQ(static_cast<uint8_t>(rig.port.written().back()[3]), 12);
}

}  // namespace
}  // namespace ecu

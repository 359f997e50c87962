#include "core/console/file_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/counting_pump.h"
#include "support/fake_clock.h"
#include "support/scripted_prompts.h"
#include "support/virtual_line_port.h"

namespace ecu {
namespace {

namespace fs = std::filesystem;
using testing::CountingPump;
using testing::FakeClock;
using testing::ScriptedPrompts;
using testing::VirtualLinePort;

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

struct FileRig {
  FileRig() : port(clock, sim::SimOptions{}) {
    ctx.link_state.port_device = "/dev/virtual";
    folder =
        fs::temp_directory_path() / ("ecu-files-" + std::to_string(::getpid()));
    fs::create_directories(folder);
  }
  ~FileRig() { fs::remove_all(folder); }
  std::vector<int> Codes() const {
    std::vector<int> codes;
    for (const std::string& f : port.written()) {
      codes.push_back(static_cast<uint8_t>(f[2]));
    }
    return codes;
  }

  FakeClock clock;
  VirtualLinePort port;
  ScriptedPrompts prompts;
  CountingPump pump;
  EcuContext ctx{port, clock, prompts, pump};
  RecordingBusy busy;
  FileCommands files{ctx, busy};
  fs::path folder;
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
  EXPECT_TRUE(fs::is_empty(rig.folder));
}

TEST(FileCommandsTest, OpenReadsTheConfigurationBeforeTheDialog) {
  FileRig rig;
  rig.prompts.QueueFileName("*.SET");
  rig.files.Open();
  ASSERT_FALSE(rig.port.written().empty());
  EXPECT_EQ(rig.Codes().front(), 'C');
  EXPECT_EQ(rig.prompts.dialogs().size(), 1u);
  EXPECT_TRUE(rig.busy.events.empty());
}

TEST(FileCommandsTest, OneLineFileShowsTheFillAtZeroBeforeItsLine) {
  FileRig rig;
  const fs::path file = rig.folder / "one.set";
  std::ofstream(file) << "EGO_RATE= 12\r\n";
  rig.prompts.QueueFileName(file.string());
  rig.files.Open();
  EXPECT_EQ(rig.busy.events, (std::vector<std::string>{"begin", "end"}));
  ASSERT_GE(rig.busy.fractions.size(), 2u);
  EXPECT_DOUBLE_EQ(rig.busy.fractions[0], kProgressStub);
  EXPECT_DOUBLE_EQ(rig.busy.fractions[1], 0.0);
  // The line went out with its write code ("c") and the value 12.
  EXPECT_EQ(rig.Codes().back(), 'c');
  EXPECT_EQ(static_cast<uint8_t>(rig.port.written().back()[3]), 12);
}

}  // namespace
}  // namespace ecu

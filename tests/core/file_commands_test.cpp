#include "core/console/file_commands.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "core/console/console_command_line.h"
#include "core/console/opened_file.h"
#include "support/context_rig.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"

namespace ecu {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using testing::ScriptedPrompts;
using testing::TempFolder;

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

TEST(FileCommandsTest, CancelledDialogsLoadAndSaveNothingAndALoadShowsItsFill) {
  FileRig rig;
  rig.prompts.QueueFileName("");  // cancel
  rig.files.Save();
  rig.prompts.QueueFileName("*.SET");  // OK without a name
  rig.files.Save();
  EXPECT_TRUE(rig.port.written().empty());
  EXPECT_TRUE(rig.busy.events.empty());
  EXPECT_TRUE(fs::is_empty(rig.folder.path()));
  // Open reads the configuration before its dialog, cancelled or not.
  rig.prompts.QueueFileName("*.SET");
  rig.files.Open();
  EXPECT_EQ(rig.TakeCodes(), std::vector<int>{'C'});
  ASSERT_EQ(rig.prompts.dialogs().size(), 3u);
  EXPECT_TRUE(rig.busy.events.empty());
  // Setup files; only saving asks before it overwrites.
  const FileDialog& open = rig.prompts.dialogs()[2];
  EXPECT_EQ(std::tie(open.filter, open.default_extension, open.initial_name),
            std::make_tuple("Setup Files (*.set)|", "set", "*.SET"));
  EXPECT_FALSE(open.ask_before_overwrite);
  EXPECT_TRUE(rig.prompts.dialogs()[0].ask_before_overwrite);
  // A one-line file shows the fill at 0 before its line.
  rig.prompts.QueueFileName(rig.folder.WriteLines("one.set", {"EGO_RATE= 12"}));
  rig.files.Open();
  EXPECT_EQ(rig.busy.events, (std::vector<std::string>{"begin", "end"}));
  EXPECT_THAT(rig.busy.fractions,
              ::testing::ElementsAre(::testing::DoubleEq(kProgressStub), 0, 1));
}

// Actions that record which of them ran, on which file.
FileActions Recording(std::vector<std::string>& steps, bool compare = true,
                      bool viewer = true) {
  const auto record = [&steps](const std::string& what) {
    return [&steps, what](const std::string& p) { steps.push_back(what + p); };
  };
  FileActions actions;
  actions.load_setup = record("load ");
  if (compare) actions.compare_setup = record("compare ");
  if (viewer) actions.view_log = record("view ");
  return actions;
}

TEST(OpenedFileTest, CommandLineNamesOneFileBesideTheDemoWord) {
  EXPECT_EQ(NamedFile({"BASE.SET"}), "BASE.SET");
  EXPECT_EQ(NamedFile({"demo"}), "");
  EXPECT_EQ(NamedFile({"demo", "BASE.SET"}), "");
  EXPECT_EQ(NamedFile({"--geometry"}), "");
  EXPECT_EQ(NamedFile({}), "");
  EXPECT_EQ(ReadConsoleRequest({"--help"}), ConsoleRequest::kHelp);
  EXPECT_EQ(ReadConsoleRequest({"demo", "--help"}), ConsoleRequest::kRun);
}

// A setup file offers load or compare; only an explicit Yes writes to the
// ECU, and the default (Enter) compares.
TEST(OpenedFileTest, SetupFileIsLoadedOnlyOnYes) {
  TempFolder folder;
  const std::string file = folder.Write("base.SET", "ACC_SEN = 50\r\n");
  for (const auto& [answer, step] : std::vector<std::pair<Answer, std::string>>{
           {Answer::kYes, "load " + file},
           {Answer::kNo, "compare " + file},
           {Answer::kCancel, ""}}) {
    ScriptedPrompts prompts;
    prompts.QueueAnswer(answer);
    std::vector<std::string> steps;
    OpenNamedFile(file, prompts, Recording(steps));
    ASSERT_EQ(prompts.shown().size(), 1u);
    EXPECT_EQ(prompts.shown()[0].buttons, Buttons::kYesNoCancel);
    EXPECT_EQ(prompts.shown()[0].default_button, 1);
    EXPECT_EQ(steps, step.empty() ? std::vector<std::string>{}
                                  : std::vector<std::string>{step});
  }
  // Without a compare: the destructive question alone, No by default.
  ScriptedPrompts prompts;
  std::vector<std::string> steps;
  OpenNamedFile(file, prompts, Recording(steps, false, false));
  ASSERT_EQ(prompts.shown().size(), 1u);
  EXPECT_EQ(prompts.shown()[0].title, "CAUTION!");
  EXPECT_EQ(prompts.shown()[0].buttons, Buttons::kYesNo);
  EXPECT_EQ(prompts.shown()[0].default_button, 1);
  EXPECT_TRUE(steps.empty());
}

TEST(OpenedFileTest, LogsGoToTheViewerAndOtherFilesAreExplained) {
  TempFolder folder;
  const std::string log = folder.Write("RUN.CSV", "Time,RPM\r\n");
  std::vector<std::string> steps;
  ScriptedPrompts quiet;
  OpenNamedFile(log, quiet, Recording(steps));
  EXPECT_EQ(steps, std::vector<std::string>{"view " + log});
  EXPECT_TRUE(quiet.shown().empty());

  const auto told = [&](const std::string& path, bool viewer) {
    ScriptedPrompts prompts;
    std::vector<std::string> none;
    OpenNamedFile(path, prompts, Recording(none, true, viewer));
    EXPECT_TRUE(none.empty()) << path;
    return prompts.shown().size() == 1 ? prompts.shown()[0].text : "";
  };
  EXPECT_THAT(told(log, false), HasSubstr("no log viewer"));
  EXPECT_THAT(told(folder.Write("fw.S", "S0"), true), HasSubstr("neither"));
  EXPECT_THAT(told(folder.Path("gone.SET"), true),
              HasSubstr("could not be opened"));
  EXPECT_THAT(told(folder.path(), true), HasSubstr("could not be opened"));
}

}  // namespace
}  // namespace ecu

// Builds the Debian package as scripts/package does and checks it: its
// control fields, its contents, lintian, and the console run from the
// unpacked tree (the installed tree's test runs every program).

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/processes.h"
#include "support/temp_folder.h"

namespace ecu::testing {
namespace {

namespace fs = std::filesystem;

class PackageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    out_ = new TempFolder;
    const char* build = std::getenv("ECU_BUILD_DIR");
    const std::string config =
        std::string(build ? build : "build") + "/CPackConfig.cmake";
    made_ = RunProgram({"/usr/bin/env", "cpack", "--config", config, "-G",
                        "DEB", "-B", out_->path()},
                       300);
    deb_ = out_->Path("ecu-console_" ECU_VERSION "_amd64.deb");
  }
  static void TearDownTestSuite() {
    delete out_;
    out_ = nullptr;
  }
  void SetUp() override {
    ASSERT_EQ(made_.exit_status, 0) << made_.out << made_.err;
    ASSERT_TRUE(fs::exists(deb_)) << made_.out;
  }

  static std::string Field(const std::string& name) {
    return RunProgram({"/usr/bin/env", "dpkg-deb", "--field", deb_, name}).out;
  }

  static inline TempFolder* out_ = nullptr;
  static inline ProcessResult made_;
  static inline std::string deb_;
};

TEST_F(PackageTest, ControlFieldsComeFromTheProjectAndTheLinker) {
  EXPECT_EQ(Field("Package"), "ecu-console\n");
  EXPECT_EQ(Field("Version"), ECU_VERSION "\n");
  const std::string depends = Field("Depends");
  for (const char* library : {"libc6", "libqt6core6", "libqt6gui6",
                              "libqt6widgets6", "libqt6serialport6"}) {
    EXPECT_TRUE(Contains(depends, library)) << depends;
  }
  const std::string contents =
      RunProgram({"/usr/bin/env", "dpkg-deb", "--contents", deb_}).out;
  for (const char* path :
       {"./usr/bin/ecu-console", "./usr/bin/ecu-cli", "./usr/bin/ecu-sim",
        "./usr/share/applications/org.ecusystem.console.desktop",
        "./usr/share/man/man1/ecu-cli.1.gz",
        "./usr/share/doc/ecu-console/copyright",
        "./usr/share/doc/ecu-console/changelog.gz"}) {
    EXPECT_TRUE(Contains(contents, std::string(path) + "\n")) << path;
  }
}

// Among its checks: a man page for every program, rendered by man
// --warnings without a message, and icons of the size their folder names.
TEST_F(PackageTest, LintianFindsNoErrorOrWarning) {
  if (RunProgram({"/bin/sh", "-c", "command -v lintian"}).exit_status != 0) {
    GTEST_SKIP() << "lintian is not installed";
  }
  const ProcessResult lint = RunProgram(
      {"/usr/bin/env", "lintian", "--fail-on", "error,warning", deb_}, 300);
  EXPECT_EQ(lint.exit_status, 0) << lint.out << lint.err;
}

TEST_F(PackageTest, TheConsoleRunsFromTheUnpackedTreeOnPath) {
  TempFolder root;
  ASSERT_EQ(RunProgram({"/usr/bin/env", "dpkg-deb", "-x", deb_, root.path()})
                .exit_status,
            0);
  const std::string path = "PATH=" + root.Path("usr/bin") + ":/usr/bin:/bin";
  // The console comes up and keeps running (offscreen, no port chosen)
  // until `timeout` ends it.
  TempFolder config;
  const ProcessResult console =
      RunProgram({"/usr/bin/env", path, "QT_QPA_PLATFORM=offscreen",
                  "ECU_CONSOLE_CONFIG_DIR=" + config.path(), "timeout", "2",
                  "ecu-console"});
  EXPECT_EQ(console.exit_status, 124) << console.err;
}

}  // namespace
}  // namespace ecu::testing

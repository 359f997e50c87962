// Installs the build into a staging folder (DESTDIR, prefix /usr, as the
// package does) and checks what a desktop and a shell get from it; then
// builds the package itself.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "support/processes.h"
#include "support/temp_folder.h"

namespace ecu::testing {
namespace {

namespace fs = std::filesystem;

constexpr char kAppId[] = "org.ecusystem.console";

bool Have(const std::string& tool) {
  return RunProgram({"/bin/sh", "-c", "command -v " + tool}).exit_status == 0;
}

class InstalledTreeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* build = std::getenv("ECU_BUILD_DIR");
    install_ =
        RunProgram({"/usr/bin/env", "DESTDIR=" + stage_.path(), "cmake",
                    "--install", build ? build : "build", "--prefix", "/usr"});
  }
  void SetUp() override {
    ASSERT_EQ(install_.exit_status, 0) << install_.out << install_.err;
  }

  static std::string Installed(const std::string& path) {
    return stage_.Path("usr/" + path);
  }
  // Completes `line` (the cursor at its end) in `folder` as bash would with
  // the installed completion, the installed programs first on PATH; one word
  // a line.
  static std::string Complete(const std::string& folder,
                              const std::string& line) {
    const std::string script =
        "cd '" + folder + "' && PATH='" + Installed("bin") +
        "':$PATH && source '" +
        Installed("share/bash-completion/completions/ecu-cli") +
        "' && COMP_LINE='" + line +
        "' && read -ra COMP_WORDS <<< \"$COMP_LINE\" && "
        "{ [[ $COMP_LINE == *' ' ]] && COMP_WORDS+=(''); true; } && "
        "COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) && _ecu_cli && "
        "printf '%s\\n' \"${COMPREPLY[@]}\" | sort";
    const ProcessResult run = RunProgram({"/bin/bash", "-c", script});
    EXPECT_EQ(run.exit_status, 0) << run.err;
    return run.out;
  }

  static inline TempFolder stage_;
  static inline ProcessResult install_;
};

// Installed, the port choice is the user's (XDG config folder), even where
// the program's folder could be written (as root it always can).
TEST_F(InstalledTreeTest, ProgramsRunFromTheTreeAndKeepThePortChoicePerUser) {
  for (const char* program : {"ecu-console", "ecu-cli", "ecu-sim"}) {
    // No display: the console must answer --help before it needs one.
    const ProcessResult help =
        RunProgram({"/usr/bin/env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY",
                    "QT_QPA_PLATFORM=xcb",
                    Installed(std::string("bin/") + program), "--help"});
    EXPECT_EQ(help.exit_status, 0) << program << ": " << help.err;
    EXPECT_THAT(help.out, HasSubstr(std::string("Usage: ") + program));
  }
  // The installed ecu-cli against a virtual ECU, with no build tree paths.
  SimProcess sim({"--no-pacing"});
  TempFolder home;
  fs::create_directories(home.Path("config/ecu-console"));
  home.Write("config/ecu-console/port.cfg", sim.device() + "\r\n");
  std::ofstream(Installed("bin/port.cfg")) << "/nonexistent/tty\r\n";
  const ProcessResult info =
      RunProgram({"/usr/bin/env", "-u", "ECU_CONSOLE_CONFIG_DIR",
                  "XDG_CONFIG_HOME=" + home.Path("config"),
                  Installed("bin/ecu-cli"), "info"});
  fs::remove(Installed("bin/port.cfg"));
  EXPECT_EQ(info.exit_status, 0) << info.err;
  EXPECT_THAT(info.out, HasSubstr("Controller Firmware"));
}

TEST_F(InstalledTreeTest, DesktopEntryIsValidAndNamesWhatIsInstalled) {
  const std::string entry =
      Installed("share/applications/" + std::string(kAppId) + ".desktop");
  if (Have("desktop-file-validate")) {
    const ProcessResult valid =
        RunProgram({"/usr/bin/env", "desktop-file-validate", entry});
    EXPECT_EQ(valid.exit_status, 0) << valid.out << valid.err;
    EXPECT_EQ(valid.out + valid.err, "");
  }
  const std::string text = ReadText(entry);
  EXPECT_THAT(text, AllOf(HasSubstr("\nCategories=Utility;Engineering;\n"),
                          HasSubstr("\nExec=ecu-console %f\n"),
                          HasSubstr(std::string("\nIcon=") + kAppId + "\n")));
  EXPECT_TRUE(fs::exists(Installed("share/icons/hicolor/scalable/apps/" +
                                   std::string(kAppId) + ".svg")));
  // Every file type it claims is one the system knows: ours, or CSV.
  std::smatch types;
  ASSERT_TRUE(std::regex_search(text, types, std::regex("MimeType=(.*)\n")));
  const std::string ours = ReadText(
      Installed("share/mime/packages/" + std::string(kAppId) + ".xml"));
  std::stringstream list(types[1].str());
  for (std::string type; std::getline(list, type, ';');) {
    EXPECT_TRUE(type == "text/csv" ||
                Contains(ours, "<mime-type type=\"" + type + "\">"))
        << type;
  }
}

TEST_F(InstalledTreeTest, FileTypesRegister) {
  if (!Have("update-mime-database")) GTEST_SKIP();
  const std::string mime = Installed("share/mime");
  const ProcessResult update =
      RunProgram({"/usr/bin/env", "XDG_DATA_DIRS=" + Installed("share"),
                  "update-mime-database", mime});
  EXPECT_EQ(update.exit_status, 0) << update.err;
  EXPECT_EQ(update.err, "");
  EXPECT_TRUE(fs::exists(mime + "/application/x-ecu-console-setup.xml"));
  EXPECT_TRUE(fs::exists(mime + "/application/x-ecu-console-datalog.xml"));
  const std::string globs = ReadText(mime + "/globs2");
  EXPECT_THAT(globs, HasSubstr("application/x-ecu-console-setup:*.set"));
}

TEST_F(InstalledTreeTest, MetainfoIsValidAndShowsTheDocumentedPictures) {
  const std::string metainfo =
      Installed("share/metainfo/" + std::string(kAppId) + ".metainfo.xml");
  if (Have("appstreamcli")) {
    const ProcessResult valid = RunProgram(
        {"/usr/bin/env", "appstreamcli", "validate", "--no-net", metainfo});
    EXPECT_EQ(valid.exit_status, 0) << valid.out << valid.err;
  }
  const std::string text = ReadText(metainfo);
  EXPECT_THAT(text, HasSubstr("<release version=\"" ECU_VERSION "\""));
  const std::regex image("<image>[^<]*/([^/<]+\\.png)</image>");
  int pictures = 0;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), image);
       it != std::sregex_iterator(); ++it, ++pictures) {
    EXPECT_TRUE(fs::exists(fs::path(ECU_SOURCE_DIR) / "docs" / (*it)[1].str()))
        << (*it)[1].str() << " is not in docs/";
  }
  EXPECT_GE(pictures, 1);
}

TEST_F(InstalledTreeTest, BashCompletesCommandsOptionsAndFiles) {
  TempFolder work;
  work.Write("base.SET", "");
  work.Write("notes.txt", "");
  work.Write("run.csv", "");
  fs::create_directory(work.Path("logs"));

  const std::string commands = Complete(work.path(), "ecu-cli ");
  EXPECT_THAT(Lines(commands),
              ::testing::IsSupersetOf({"flash", "info", "load", "log",
                                       "monitor", "ping", "reset", "save"}));
  EXPECT_FALSE(Contains(commands, "Usage")) << commands;
  EXPECT_EQ(Complete(work.path(), "ecu-cli --po"), "--port\n");
  EXPECT_EQ(Complete(work.path(), "ecu-cli --port /dev/x sa"), "save\n");
  EXPECT_THAT(Complete(work.path(), "ecu-cli log x.csv --in"),
              HasSubstr("--interval\n"));
  EXPECT_EQ(Complete(work.path(), "ecu-cli load "), "base.SET\nlogs\n");
  EXPECT_EQ(Complete(work.path(), "ecu-cli log "), "logs\nrun.csv\n");
}

// docs/command-line.md is the programs' --help as the man pages give it; a
// new command or option must reach it too.
TEST(CommandLineReferenceTest, MatchesTheProgramsHelp) {
  const ProcessResult check = RunProgram(
      {std::string(ECU_SOURCE_DIR) + "/scripts/reference", "--check"});
  EXPECT_EQ(check.exit_status, 0) << check.out << check.err;
}

// The Debian package as scripts/package builds it: its control fields, its
// contents, lintian, and the console run from the unpacked tree.
class PackageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* build = std::getenv("ECU_BUILD_DIR");
    const std::string config =
        std::string(build ? build : "build") + "/CPackConfig.cmake";
    made_ = RunProgram({"/usr/bin/env", "cpack", "--config", config, "-G",
                        "DEB", "-B", out_.path()},
                       300);
    deb_ = out_.Path("ecu-console_" ECU_VERSION "_amd64.deb");
  }
  void SetUp() override {
    ASSERT_EQ(made_.exit_status, 0) << made_.out << made_.err;
    ASSERT_TRUE(fs::exists(deb_)) << made_.out;
  }

  static std::string Field(const std::string& name) {
    return RunProgram({"/usr/bin/env", "dpkg-deb", "--field", deb_, name}).out;
  }

  static inline TempFolder out_;
  static inline ProcessResult made_;
  static inline std::string deb_;
};

TEST_F(PackageTest, ControlFieldsComeFromTheProjectAndTheLinker) {
  EXPECT_EQ(Field("Package"), "ecu-console\n");
  EXPECT_EQ(Field("Version"), ECU_VERSION "\n");
  const std::string depends = Field("Depends");
  for (const char* library : {"libc6", "libqt6core6", "libqt6gui6",
                              "libqt6widgets6", "libqt6serialport6"}) {
    EXPECT_THAT(depends, HasSubstr(library));
  }
  const std::string contents =
      RunProgram({"/usr/bin/env", "dpkg-deb", "--contents", deb_}).out;
  for (const char* path :
       {"./usr/bin/ecu-console", "./usr/bin/ecu-cli", "./usr/bin/ecu-sim",
        "./usr/share/applications/org.ecusystem.console.desktop",
        "./usr/share/man/man1/ecu-cli.1.gz",
        "./usr/share/doc/ecu-console/copyright",
        "./usr/share/doc/ecu-console/changelog.gz"}) {
    EXPECT_THAT(contents, HasSubstr(std::string(path) + "\n"));
  }
}

// Among its checks: a man page for every program, rendered by man
// --warnings without a message, and icons of the size their folder names.
TEST_F(PackageTest, LintianFindsNoErrorOrWarning) {
  if (!Have("lintian")) GTEST_SKIP() << "lintian is not installed";
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

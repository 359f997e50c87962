#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/processes.h"

namespace ecu::testing {
namespace {

// A port that does not exist: a usage error must be found before it is
// tried, or the run would exit 1 instead.
const char kNoPort[] = "/tmp/no-such-ecu-port";

TEST(CommandLineTest, EveryNumberIsCheckedAndBounded) {
  // Each program and command, before its number options.
  const std::vector<
      std::pair<std::vector<std::string>, std::vector<std::string>>>
      programs = {
          {{"ecu-cli", "--port", kNoPort, "ping"}, {"--count"}},
          {{"ecu-cli", "--port", kNoPort, "monitor"}, {"--count"}},
          {{"ecu-cli", "--port", kNoPort, "log", "F.CSV"},
           {"--count", "--interval"}},
          {{"ecu-cli", "--port", kNoPort, "flash", "F.S"},
           {"--line-delay", "--char-delay"}},
          {{"ecu-cli", "info"}, {"--port"}},
          {{"ecu-sim"},
           {"--drop-every", "--corrupt-every", "--split-every",
            "--extra-byte-every", "--wrong-length-every", "--split-gap",
            "--delay", "--seed", "--revision", "--serial", "--time-scale",
            "--true-map-error"}},
      };
  // Negative, empty, trailing text, spaces, not finite, another base, huge.
  const std::vector<std::string> slips = {
      "-1",  "",     "5x",    " 5",          "inf",
      "nan", "0x10", "1e300", "99999999999", "99999999999999999999"};
  for (const auto& [words, options] : programs) {
    for (const std::string& option : options) {
      for (const std::string& slip : slips) {
        if (option == "--port" &&
            slip.find_first_not_of("0123456789") != std::string::npos) {
          continue;  // not a number: a device path
        }
        std::vector<std::string> argv = words;
        argv[0] = BuiltProgram(argv[0]);
        argv.insert(argv.end(), {option, slip});
        const auto r = RunProgram(argv);
        EXPECT_EQ(r.exit_status, 2) << option << " '" << slip << "'";
        EXPECT_TRUE(Contains(r.err, option + ": '" + slip + "' is not"))
            << r.err;
      }
    }
  }
  // The bounds themselves are taken.
  const auto r = RunProgram({BuiltProgram("ecu-cli"), "--port", "255", "log",
                             "F.CSV", "--interval", "10000"});
  EXPECT_EQ(r.exit_status, 1) << r.err;  // no /dev/ttyS254 here
}

TEST(CommandLineTest, OtherUsageErrorsExitTwoWithoutTouchingThePort) {
  const std::vector<std::vector<std::string>> usage_errors = {
      {"ecu-cli"},
      {"ecu-cli", "frobnicate"},
      {"ecu-cli", "--port", kNoPort},
      {"ecu-cli", "--port", kNoPort, "save"},
      {"ecu-cli", "--port", kNoPort, "load", "a.SET", "b.SET"},
      {"ecu-cli", "--port", kNoPort, "info", "extra"},
      {"ecu-cli", "--port", kNoPort, "log"},
      {"ecu-cli", "--port", kNoPort, "log", "F.CSV", "--interval", "50"},
      {"ecu-cli", "--port", kNoPort, "log", "F.CSV", "--time", "us"},
      {"ecu-cli", "--port", kNoPort, "flash"},
      {"ecu-sim", "--frobnicate"},
      {"ecu-sim", "--drop-every"},
      {"ecu-sim", "--link", ""},
      {"ecu-sim", "--dump", ""},
      {"ecu-sim", "--drive", "sweeps"},
  };
  for (std::vector<std::string> argv : usage_errors) {
    argv[0] = BuiltProgram(argv[0]);
    const auto r = RunProgram(argv);
    EXPECT_EQ(r.exit_status, 2) << argv.back();
    EXPECT_TRUE(Contains(r.err, "Try '")) << r.err;
    EXPECT_FALSE(Contains(r.err, "Comm Port")) << r.err;
  }
}

// Plain --help leaves the commands' options to each command's own help.
TEST(CommandLineTest, HelpAllShowsTheOptionsOfEveryCommand) {
  const auto cli = RunProgram({BuiltProgram("ecu-cli"), "--help-all"});
  EXPECT_EQ(cli.exit_status, 0);
  EXPECT_TRUE(Contains(cli.out, "--line-delay S")) << cli.out;
}

}  // namespace
}  // namespace ecu::testing

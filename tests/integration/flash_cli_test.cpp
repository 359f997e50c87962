#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "integration/flash_firmware.h"
#include "support/processes.h"

namespace ecu {
namespace {

using testing::BuiltProgram;
using testing::LoaderStream;
using testing::MakeFirmware;
using testing::ProcessResult;
using testing::ReadFileBytes;
using testing::RunProgram;
using testing::SimProcess;

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

struct FlashRun {
  ProcessResult result;
  std::string loader_received;
};

class FlashCliTest : public ::testing::Test {
 protected:
  // ecu-sim with its loader log, ecu-cli flash against it.
  FlashRun Run(std::vector<std::string> sim_options,
               std::vector<std::string> flash_args) {
    const std::string log = folder_ + "/loader.bin";
    sim_options.insert(sim_options.end(), {"--loader-log", log});
    SimProcess sim(sim_options);
    std::vector<std::string> argv = {BuiltProgram("ecu-cli"), "--port",
                                     sim.device(), "flash"};
    argv.insert(argv.end(), flash_args.begin(), flash_args.end());
    FlashRun run{RunProgram(argv), ""};
    sim.Stop();
    run.loader_received = ReadFileBytes(log);
    return run;
  }
  std::string File(const std::string& name) const {
    return folder_ + "/" + name;
  }

  void SetUp() override {
    char pattern[] = "/tmp/ecu-flash-test-XXXXXX";
    folder_ = mkdtemp(pattern);
    lines_ = MakeFirmware(folder_, 1024);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string folder_;
  std::vector<std::string> lines_;
};

TEST_F(FlashCliTest, DefaultModeSendsTheRecordsRunTogether) {
  ASSERT_GT(lines_.size(), 60u);
  const FlashRun run = Run({"--loader"}, {File("FW.S")});
  EXPECT_EQ(run.result.exit_status, 0) << run.result.err;
  EXPECT_EQ(run.loader_received, LoaderStream(lines_, false, lines_.size()));
  EXPECT_TRUE(Contains(run.result.out, "flash complete")) << run.result.out;
  EXPECT_TRUE(Contains(run.result.err, "(" + std::to_string(lines_.size() - 1) +
                                           " lines counted)"))
      << run.result.err;
  EXPECT_TRUE(Contains(run.result.err, "100%")) << run.result.err;
}

TEST_F(FlashCliTest, PrepareThenCharacterDelayEndsLaterLinesWithCrLf) {
  const FlashRun run =
      Run({}, {File("FW.S"), "--char-delay", "0.0002", "--prepare"});
  EXPECT_EQ(run.result.exit_status, 0) << run.result.err;
  EXPECT_TRUE(
      Contains(run.result.err, "The controller is now ready to re-flash."));
  EXPECT_EQ(run.loader_received, LoaderStream(lines_, true, lines_.size()));
}

TEST_F(FlashCliTest, CorruptedRecordGetsEAndExitsOne) {
  std::vector<std::string> lines = lines_;
  std::string& record = lines[lines.size() / 2];
  record.back() = record.back() == '0' ? '1' : '0';
  testing::WriteFirmwareLines(File("BAD.S"), lines);
  const FlashRun run = Run({"--loader"}, {File("BAD.S")});
  EXPECT_EQ(run.result.exit_status, 1);
  EXPECT_TRUE(Contains(run.result.out, "bad checksum")) << run.result.out;
  EXPECT_TRUE(Contains(run.result.err,
                       "An error has occurred durring the program Flash "
                       "opperation, you must Flash the controller again."))
      << run.result.err;
  EXPECT_TRUE(Contains(run.result.err, "the loader reported an error"));
}

TEST_F(FlashCliTest, NoLoaderBadFileAndUsage) {
  // A running controller does not answer "q".
  FlashRun run = Run({}, {File("FW.S")});
  EXPECT_EQ(run.result.exit_status, 1);
  EXPECT_TRUE(Contains(run.result.err,
                       "The controller doesnt appear to be "
                       "ready to reflash"))
      << run.result.err;
  EXPECT_EQ(run.loader_received, "");

  std::ofstream(File("EMPTY.S"));
  run = Run({"--loader"}, {File("EMPTY.S")});
  EXPECT_EQ(run.result.exit_status, 1);
  EXPECT_TRUE(Contains(run.result.err, "is empty or could not be read"));
  EXPECT_EQ(run.loader_received, "");  // nothing touched the controller

  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{
           {},
           {File("FW.S"), "--line-delay"},
           {File("FW.S"), "--char-delay", "soon"},
           {File("FW.S"), "--frobnicate"}}) {
    run = Run({"--loader"}, args);
    EXPECT_EQ(run.result.exit_status, 2) << run.result.err;
  }
}

}  // namespace
}  // namespace ecu

#include <gtest/gtest.h>
#include <signal.h>

#include <random>
#include <string>
#include <vector>

#include "support/processes.h"
#include "support/temp_folder.h"

namespace ecu::testing {
namespace {

// A fresh folder holding FW.S: firmware as a tuner gets it, random bytes
// made into S-records by objcopy (CR LF lines).
class FirmwareFolder : public TempFolder {
 public:
  explicit FirmwareFolder(int bytes) {
    std::mt19937 random(static_cast<unsigned>(bytes));
    std::string data;
    for (int i = 0; i < bytes; ++i) data.push_back(static_cast<char>(random()));
    Write("fw.bin", data);
    RunProgram({"/usr/bin/objcopy", "-I", "binary", "-O", "srec",
                Path("fw.bin"), Path("FW.S")});
    lines_ = CrLfLines(Read("FW.S"));
  }

  // FW.S's lines without their CR LF.
  const std::vector<std::string>& lines() const { return lines_; }
  // What the loader must receive with the character delay: "q", the first
  // line as read, then each later line with CR LF.
  std::string LoaderStream() const {
    std::string stream = "q" + lines_.front();
    for (size_t i = 1; i < lines_.size(); ++i) stream += lines_[i] + "\r\n";
    return stream;
  }

 private:
  std::vector<std::string> lines_;
};

class FlashCliTest : public ::testing::Test {
 protected:
  // ecu-cli flash against ecu-sim; `received_` gets what the loader took.
  ProcessResult Flash(std::vector<std::string> sim_options,
                      const std::vector<std::string>& flash_args,
                      Interruption interruption = {}, double timeout_s = 60) {
    sim_options.insert(sim_options.end(),
                       {"--loader-log", firmware_.Path("loader.bin")});
    SimProcess sim(sim_options);
    std::vector<std::string> argv = {BuiltProgram("ecu-cli"), "--port",
                                     sim.device(), "flash"};
    argv.insert(argv.end(), flash_args.begin(), flash_args.end());
    const ProcessResult result = RunProgram(argv, timeout_s, interruption);
    sim.Stop();
    received_ = firmware_.Read("loader.bin");
    return result;
  }

  FirmwareFolder firmware_{1024};
  std::string received_;
};

TEST_F(FlashCliTest, PrepareThenCharacterDelayEndsLaterLinesWithCrLf) {
  const ProcessResult r = Flash(
      {}, {firmware_.Path("FW.S"), "--char-delay", "0.0002", "--prepare"});
  EXPECT_EQ(r.exit_status, 0) << r.err;
  const size_t later = firmware_.lines().size() - 1;
  EXPECT_EQ(received_, firmware_.LoaderStream());
  EXPECT_THAT(r.out, HasSubstr("flash complete"));
  EXPECT_THAT(
      r.err, AllOf(HasSubstr("The controller is now ready to re-flash."),
                   HasSubstr("(" + std::to_string(later) + " lines counted)")));
}

TEST_F(FlashCliTest, CorruptedRecordGetsEAndExitsOne) {
  // Over a pty every line is written long before the sim's paced line has
  // carried it: the "E" comes while the utility listens after the last line.
  std::vector<std::string> lines = firmware_.lines();
  char& sum = lines[lines.size() / 2].back();
  sum = sum == '0' ? '1' : '0';
  const ProcessResult r =
      Flash({"--loader"}, {firmware_.WriteLines("BAD.S", lines)});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_THAT(r.out, HasSubstr("bad checksum"));
  EXPECT_THAT(r.err,
              HasSubstr("An error has occurred durring the program Flash "
                        "opperation, you must Flash the controller again."));
}

TEST_F(FlashCliTest, CtrlCEndsALongLineDelayAndHalts) {
  // Ten seconds after every line: Ctrl-C during the first pause halts the
  // run at once instead of after the pause (or, as it was, after days for
  // a delay of 1e6).
  const ProcessResult r =
      Flash({"--loader"}, {firmware_.Path("FW.S"), "--line-delay", "10"},
            {SIGINT, 1.0}, /*timeout_s=*/6);
  EXPECT_EQ(r.exit_status, 1) << r.err;
  EXPECT_THAT(r.err, HasSubstr("ecu-cli: flash: halted (1 lines counted)"));
}

TEST_F(FlashCliTest, NoLoaderEmptyFileAndUsage) {
  ProcessResult r = Flash({}, {firmware_.Path("FW.S")});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_THAT(r.err, HasSubstr("The controller doesnt appear to be ready"));
  r = Flash({"--loader"}, {firmware_.Write("EMPTY.S", "")});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_THAT(r.err, HasSubstr("is empty or could not be read"));
  EXPECT_EQ(received_, "");  // the controller was not touched
}

}  // namespace
}  // namespace ecu::testing

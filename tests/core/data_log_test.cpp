#include "core/console/data_log.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/advisor/data_log_reader.h"
#include "support/temp_folder.h"

namespace ecu {
namespace {

using testing::ReadText;

LiveData ExampleValues() {
  LiveData live;
  live.RPM = 3235;
  live.Lambda = 1.05f;
  live.CLT = 93;
  live.TPS = 15.8f;
  live.MAP = 32.2f;
  live.MAT = 24;
  live.PW = 0.008175f;
  live.EgoCorrection = 1.024f;
  return live;
}

TEST(DataLogLineTest, HeaderIsThreeCrLfLines) {
  EXPECT_EQ(LogHeader("09-14-2008"),
            "Time,RPM,A/F,CLT,TPS,MAP,MAT,PW,CORR\r\n"
            "Log Begins on 09-14-2008\r\n"
            "\r\n");
}

TEST(DataLogLineTest, FieldsInTheirFormats) {
  LiveData live = ExampleValues();
  EXPECT_EQ(LogDataLine(live, "14:05:09"),
            "14:05:09,3235,1.05,93,15.8,32.2,24,8.175,1.024\r\n");
  // Rounding of the last digit, required zeros, signs.
  live.RPM = 0.4f;
  live.Lambda = 0.5f;
  live.CLT = -10;
  live.TPS = 0;
  live.MAP = 101.25f;
  live.MAT = -0.4f;
  live.PW = 0.0000016f;
  live.EgoCorrection = 0;
  EXPECT_EQ(LogDataLine(live, "00:00:00"),
            "00:00:00,0,0.50,-10,0.0,101.3,0,0.002,0.000\r\n");
}

TEST(DataLogFileTest, ReplacesTheFileAndFlushesEveryLine) {
  testing::TempFolder folder;
  const std::string path = folder.Write(
      "PLOTTER.CSV", "an older log that is much longer than the new one");
  LogState log;
  std::string error;
  ASSERT_TRUE(log.Start(path, "02-29-2024", &error)) << error;
  EXPECT_TRUE(log.LogActive());
  EXPECT_EQ(log.LogFileName(), path);
  EXPECT_EQ(ReadText(path), LogHeader("02-29-2024"));

  ASSERT_TRUE(log.WriteSample(ExampleValues(), "14:05:09", &error));
  ASSERT_TRUE(log.WriteSample(ExampleValues(), "14:05:10", &error));
  // Read while the file is still open: nothing waits in a buffer.
  EXPECT_EQ(ReadText(path),
            LogHeader("02-29-2024") +
                "14:05:09,3235,1.05,93,15.8,32.2,24,8.175,1.024\r\n"
                "14:05:10,3235,1.05,93,15.8,32.2,24,8.175,1.024\r\n");
  EXPECT_EQ(log.LogSampleCount(), 2);

  log.Stop();
  EXPECT_FALSE(log.LogActive());

  // A new log starts its count afresh.
  ASSERT_TRUE(log.Start(path, "03-01-2024", &error));
  EXPECT_EQ(log.LogSampleCount(), 0);
  EXPECT_EQ(ReadText(path), LogHeader("03-01-2024"));
}

// A log that opens but cannot take its header is no log.
TEST(DataLogFileTest, AFullDiskLeavesTheStateNotLogging) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP();
  LogState log;
  std::string error;
  EXPECT_FALSE(log.Start("/dev/full", "09-14-2008", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(log.LogActive());
}

TEST(DataLogLineTest, TheLogReaderReadsWhatIsWritten) {
  const std::string crlf =
      LogHeader("09-14-2008") + LogDataLine(ExampleValues(), "14:05:09");
  std::string lf = crlf;
  std::erase(lf, '\r');
  for (const std::string& text : {crlf, lf}) {
    const DataLog log = ReadDataLog(text);
    EXPECT_TRUE(log.trouble.empty());
    EXPECT_TRUE(log.problems.empty());
    EXPECT_EQ(log.date, "09-14-2008");
    ASSERT_EQ(log.samples.size(), 1u);
    const LogSample& s = log.samples[0];
    EXPECT_EQ(s.line, 4);
    EXPECT_DOUBLE_EQ(s.time_s, 14 * 3600 + 5 * 60 + 9);
    EXPECT_DOUBLE_EQ(s.rpm, 3235);
    EXPECT_DOUBLE_EQ(s.lambda, 1.05);
    EXPECT_DOUBLE_EQ(s.clt_c, 93);
    EXPECT_DOUBLE_EQ(s.tps_percent, 15.8);
    EXPECT_DOUBLE_EQ(s.map_kpa, 32.2);
    EXPECT_DOUBLE_EQ(s.mat_c, 24);
    EXPECT_DOUBLE_EQ(s.pw_ms, 8.175);
    EXPECT_DOUBLE_EQ(s.ego_correction, 1.024);
  }
}

}  // namespace
}  // namespace ecu

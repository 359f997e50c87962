#include "core/advisor/data_log_reader.h"

#include <gtest/gtest.h>

#include "core/console/data_log.h"
#include "support/temp_folder.h"

namespace ecu {
namespace {

const std::string kHeader = LogHeader("09-14-2008");

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::vector<double> Times(const DataLog& log) {
  std::vector<double> times;
  for (const LogSample& s : log.samples) times.push_back(s.time_s);
  return times;
}

TEST(DataLogReaderTest, TimesAcrossSecondsMillisecondsAndMidnight) {
  const std::string row = ",1000,1.00,80,10.0,50.0,20,3.000,1.000";
  // Three samples at the end of a second the log began in, four in a
  // whole second, two as the log ended: ten to the second throughout is
  // not known, so each run is spread by the spacing of its neighbours.
  const DataLog whole = ReadDataLog(
      kHeader + Lines({"10:00:00" + row, "10:00:00" + row, "10:00:00" + row,
                       "10:00:01" + row, "10:00:01" + row, "10:00:01" + row,
                       "10:00:01" + row, "10:00:02" + row, "10:00:02" + row}));
  EXPECT_EQ(Times(whole),
            (std::vector<double>{36000.25, 36000.5, 36000.75, 36001, 36001.25,
                                 36001.5, 36001.75, 36002, 36002.25}));
  // Milliseconds as they stand, and on past midnight.
  const DataLog exact =
      ReadDataLog(kHeader + Lines({"23:59:59.900" + row, "00:00:00.017" + row,
                                   "00:00:00.5" + row}));
  EXPECT_EQ(Times(exact), (std::vector<double>{86399.9, 86400.017, 86400.5}));
}

TEST(DataLogReaderTest, BadLinesAreReportedByNumberAndTheRestIsRead) {
  const std::string good = "12:00:00,1000,1.00,80,10.0,50.0,20,3.000,1.000";
  const DataLog log = ReadDataLog(
      kHeader +
      Lines({good, "12:00:00,1000,1.00,80", "",
             "12:00:00,1000,lean,80,10.0,50.0,20,3.000,1.000",
             "12:61:00,1000,1.00,80,10.0,50.0,20,3.000,1.000",
             "12:00:00,1000,nan,80,10.0,50.0,20,3.000,1.000", good}) +
      "12:00:01,1000,1.0");  // cut short as it was written
  EXPECT_TRUE(log.trouble.empty());
  ASSERT_EQ(log.samples.size(), 2u);
  EXPECT_EQ(log.samples[1].line, 10);
  ASSERT_EQ(log.problems.size(), 4u);
  EXPECT_EQ(log.problems[0].line, 5);
  EXPECT_EQ(log.problems[0].reason, "9 fields expected, 4 found");
  EXPECT_EQ(log.problems[1].line, 7);
  EXPECT_EQ(log.problems[1].reason, "A/F \"lean\" is not a number");
  EXPECT_EQ(log.problems[2].line, 8);
  EXPECT_EQ(log.problems[2].reason,
            "the time \"12:61:00\" is not hours:minutes:seconds");
  EXPECT_EQ(log.problems[3].line, 9);
  EXPECT_TRUE(log.truncated_last_line);
  // A bad last line that did end is a problem like any other.
  const DataLog ended = ReadDataLog(kHeader + Lines({good, "12:00:01,1000"}));
  EXPECT_FALSE(ended.truncated_last_line);
  EXPECT_EQ(ended.problems.size(), 1u);
}

TEST(DataLogReaderTest, WhatIsNoLogAtAll) {
  EXPECT_NE(ReadDataLog("ACC_SEN = 50\r\nMAPM[000]=128\r\n")
                .trouble.find("not a data log"),
            std::string::npos);
  EXPECT_FALSE(ReadDataLog("").trouble.empty());
  testing::TempFolder folder;
  const DataLog missing = ReadDataLogFile(folder.Path("none.csv"));
  EXPECT_NE(missing.trouble.find("could not be read"), std::string::npos);
  EXPECT_EQ(missing.source, folder.Path("none.csv"));
  EXPECT_FALSE(ReadDataLogFile(folder.path()).trouble.empty());
  // Columns are found by name, whatever their order.
  const DataLog shuffled = ReadDataLog(
      "RPM,Time,A/F,CLT,TPS,MAP,MAT,PW,CORR\n"
      "2000,08:00:00,0.95,85,20.0,60.0,25,4.000,1.020\n");
  ASSERT_EQ(shuffled.samples.size(), 1u);
  EXPECT_DOUBLE_EQ(shuffled.samples[0].rpm, 2000);
  EXPECT_DOUBLE_EQ(shuffled.samples[0].time_s, 8 * 3600);
}

}  // namespace
}  // namespace ecu

#include "core/console/data_log.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/advisor/data_log_reader.h"
#include "core/advisor/log_view_model.h"
#include "support/temp_folder.h"

namespace ecu {
namespace {

using testing::ReadText;

// Writing while the plotter logs (a line in the file per sample, an older
// log replaced) is checked on the plotter; here a new log's count.
TEST(DataLogFileTest, ANewLogCountsAfreshAndAFullDiskIsNoLogAndItsLines) {
  testing::TempFolder folder;
  const std::string path = folder.Path("PLOTTER.CSV");
  LogState log;
  std::string error;
  ASSERT_TRUE(log.Start(path, "02-29-2024", &error)) << error;
  ASSERT_TRUE(log.WriteSample(LiveData{}, "14:05:09", &error));
  EXPECT_EQ(log.LogSampleCount(), 1);
  log.Stop();
  EXPECT_FALSE(log.LogActive());
  ASSERT_TRUE(log.Start(path, "03-01-2024", &error));
  EXPECT_EQ(log.LogSampleCount(), 0);
  EXPECT_EQ(ReadText(path), LogHeader("03-01-2024"));
  // A log that opens but cannot take its header is no log.
  if (!std::filesystem::exists("/dev/full")) return;
  LogState full;
  error.clear();
  EXPECT_FALSE(full.Start("/dev/full", "09-14-2008", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(full.LogActive());
  // The header and the fields of a line in their formats.
  EXPECT_EQ(LogHeader("09-14-2008"),
            "Time,RPM,A/F,CLT,TPS,MAP,MAT,PW,CORR\r\n"
            "Log Begins on 09-14-2008\r\n"
            "\r\n");
  LiveData live{.RPM = 3235,
                .MAP = 32.2f,
                .TPS = 15.8f,
                .Lambda = 1.05f,
                .PW = 0.008175f,
                .CLT = 93,
                .MAT = 24,
                .EgoCorrection = 1.024f};
  EXPECT_EQ(LogDataLine(live, "14:05:09"),
            "14:05:09,3235,1.05,93,15.8,32.2,24,8.175,1.024\r\n");
  // Rounding of the last digit, required zeros, signs.
  live = {.RPM = 0.4f,
          .MAP = 101.25f,
          .Lambda = 0.5f,
          .PW = 0.0000016f,
          .CLT = -10,
          .MAT = -0.4f};
  EXPECT_EQ(LogDataLine(live, "00:00:00"),
            "00:00:00,0,0.50,-10,0.0,101.3,0,0.002,0.000\r\n");
}

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

TEST(DataLogReaderTest, TimesAcrossMidnightAndBadLinesByTheirNumbers) {
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
  // Bad lines are reported by number and the rest is read.
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

// A setup file or a missing file is told by ecu-cli advise and the viewer.
TEST(DataLogReaderTest, WhatIsNoLogAtAll) {
  EXPECT_FALSE(ReadDataLog("").trouble.empty());
  testing::TempFolder folder;
  EXPECT_FALSE(ReadDataLogFile(folder.path()).trouble.empty());
  // Columns are found by name, whatever their order.
  const DataLog shuffled = ReadDataLog(
      "RPM,Time,A/F,CLT,TPS,MAP,MAT,PW,CORR\n"
      "2000,08:00:00,0.95,85,20.0,60.0,25,4.000,1.020\n");
  ASSERT_EQ(shuffled.samples.size(), 1u);
  EXPECT_DOUBLE_EQ(shuffled.samples[0].rpm, 2000);
  EXPECT_DOUBLE_EQ(shuffled.samples[0].time_s, 8 * 3600);
}

// Samples at the given times, RPM rising by 1000 each (an eighth of the
// chart's 8000 rev/min each).
LogViewModel ModelOf(const std::vector<double>& times) {
  DataLog log;
  for (size_t i = 0; i < times.size(); ++i) {
    log.samples.push_back(
        {.time_s = times[i], .rpm = 1000.0 * static_cast<double>(i)});
  }
  LogViewModel model;
  model.set_axes({8000, 115, 10, false});
  model.Show(std::move(log));
  return model;
}

TEST(LogViewModelTest, ColumnsSpanTheirSamplesAndTheViewStaysInTheLog) {
  // Four columns of a second each; the last sample falls in the last one.
  const std::vector<ColumnSpan> spans =
      ModelOf({0, 0.5, 1, 1.5, 2, 2.5, 3, 3.5, 4}).Envelope(0, 4);
  ASSERT_EQ(spans.size(), 4u);
  EXPECT_FLOAT_EQ(spans[0].low, 0);
  EXPECT_FLOAT_EQ(spans[0].high, 0.125f);
  EXPECT_FLOAT_EQ(spans[3].low, 0.75f);
  EXPECT_FLOAT_EQ(spans[3].high, 1.0f);
  // A pause leaves its columns empty.
  const std::vector<ColumnSpan> gaps = ModelOf({0, 1, 7, 8}).Envelope(0, 8);
  EXPECT_FALSE(gaps[0].empty);
  EXPECT_TRUE(gaps[3].empty);
  EXPECT_FALSE(gaps[7].empty);
  // The view stays within the log and the cursor on a sample.
  LogViewModel model = ModelOf({100, 101, 102, 103, 104, 105, 106, 107, 108});
  model.Zoom(0.01, 104);  // no narrower than a second
  EXPECT_DOUBLE_EQ(model.view_end() - model.view_begin(), 1);
  EXPECT_DOUBLE_EQ(model.view_begin(), 103.5);
  model.Pan(-50);
  EXPECT_DOUBLE_EQ(model.view_begin(), 100);
  model.Zoom(100, 100);  // no wider than the log
  EXPECT_DOUBLE_EQ(model.view_begin(), 100);
  EXPECT_DOUBLE_EQ(model.view_end(), 108);
  EXPECT_EQ(model.Visible(), (std::pair<size_t, size_t>{0, 9}));
  model.PlaceCursor(103.4);
  EXPECT_EQ(model.cursor(), 3u);
  model.PlaceCursor(999);
  EXPECT_EQ(model.cursor(), 8u);
  model.StepCursor(5);
  EXPECT_EQ(model.cursor(), 8u);
  EXPECT_EQ(LogViewModel::TimeText(86400 + 3725.47, true), "01:02:05.4");
}

}  // namespace
}  // namespace ecu

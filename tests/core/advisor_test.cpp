#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>

#include "core/advisor/advisor_model.h"
#include "core/advisor/data_log_reader.h"
#include "core/advisor/log_view_model.h"
#include "core/advisor/map_advisor.h"
#include "core/calibration/map_geometry.h"
#include "core/console/data_log.h"
#include "support/temp_folder.h"
#include "support/text.h"

namespace ecu {
namespace {

using ::testing::_;
using testing::ElementsAre;
using ::testing::FieldsAre;
using testing::HasSubstr;
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
  EXPECT_THAT(log.problems,
              ElementsAre(FieldsAre(5, "9 fields expected, 4 found"),
                          FieldsAre(7, "A/F \"lean\" is not a number"),
                          FieldsAre(8,
                                    "the time \"12:61:00\" is not "
                                    "hours:minutes:seconds"),
                          FieldsAre(9, _)));
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

// Axes on which cell (c, r) has its centre at 1000 c + 500 rev/min and
// 10 r + 5 kPa.
const MapAxes kAxes{16000, 160, 0, false};

int Cell(int column, int row) { return 16 * column + row; }

// Hand-made logs: a warm, steady engine sampled ten times a second.
struct LogMaker {
  // `n` samples at fractional cell position (c, r), e.g. (5, 5) is the
  // centre of cell 85, (5.25, 5) a quarter of the way to cell 101.
  LogMaker& At(double column, double row, int n, double lambda,
               double ego = 1.0, double clt = 85, double tps = 20) {
    for (int i = 0; i < n; ++i) {
      log.samples.push_back(
          {.time_s = 36000 + 0.1 * static_cast<double>(log.samples.size()),
           .rpm = 1000 * column + 500,
           .lambda = lambda,
           .clt_c = clt,
           .tps_percent = tps,
           .map_kpa = 10 * row + 5,
           .pw_ms = 3,
           .ego_correction = ego});
    }
    return *this;
  }
  DataLog log;
};

AdvisorInputs Inputs(const DataLog& log, double lambda_target = 1.0) {
  AdvisorInputs in;
  in.logs = {&log};
  in.map.fill(1.0);
  in.axes = kAxes;
  in.target.fixed = lambda_target;
  return in;
}

// A lean cell's proposal, in lambda and AFR, is checked through ecu-cli
// advise; here a cell on target, and one on target only through the trim.
TEST(MapAdvisorTest, SamplesAreSharedAroundThemAndTheEgoTrimIsTakenOut) {
  // On target at the centre of cell (5, 5); 20 % lean a quarter of the way
  // to the next column, where (5, 5) holds three quarters of the sample.
  const DataLog log = LogMaker().At(5, 5, 10, 1.0).At(5.25, 5, 10, 1.2).log;
  AdvisorInputs in = Inputs(log);
  Advice advice = AdviseMap(in);
  const CellAdvice& near = advice.cells[Cell(5, 5)];
  EXPECT_DOUBLE_EQ(near.weight, 17.5);
  EXPECT_EQ(near.samples, 20);
  // (10 x 1.0 + 7.5 x 1.2) / 17.5 = 1.0857: 139 / 128.
  EXPECT_DOUBLE_EQ(*near.proposed, 139.0 / 128);
  const CellAdvice& next = advice.cells[Cell(6, 5)];
  EXPECT_DOUBLE_EQ(next.weight, 2.5);
  EXPECT_EQ(next.outcome, CellOutcome::kTooFewSamples);
  EXPECT_FALSE(next.proposed.has_value());
  // With fewer samples needed it moves, but no more than a pass allows.
  in.settings.min_samples = 2;
  advice = AdviseMap(in);
  EXPECT_EQ(advice.cells[Cell(6, 5)].outcome, CellOutcome::kLimited);
  EXPECT_DOUBLE_EQ(*advice.cells[Cell(6, 5)].proposed, 147.0 / 128);  // 1.15
  EXPECT_EQ(advice.limited_cells, 1);
  // Without sharing, every sample counts whole for its nearest cell.
  in.settings.spread_over_neighbours = false;
  advice = AdviseMap(in);
  EXPECT_DOUBLE_EQ(*advice.cells[Cell(5, 5)].proposed, 141.0 / 128);  // 1.1
  EXPECT_EQ(advice.cells[Cell(6, 5)].outcome, CellOutcome::kNotVisited);
  // A cell on target stays.
  const DataLog right = LogMaker().At(5, 5, 10, 1.0).log;
  EXPECT_EQ(AdviseMap(Inputs(right)).cells[Cell(5, 5)].outcome,
            CellOutcome::kOnTarget);
  // The trim added 10 %: the map is 10 % lean; 1.1 is 140.8 / 128.
  const DataLog trimmed = LogMaker().At(5, 5, 10, 1.0, 1.1).log;
  const Advice trim = AdviseMap(Inputs(trimmed));
  EXPECT_DOUBLE_EQ(*trim.cells[Cell(5, 5)].mean_lambda, 1.1);
  EXPECT_DOUBLE_EQ(*trim.cells[Cell(5, 5)].proposed, 141.0 / 128);
  EXPECT_EQ(trim.changed_cells, 1);
  EXPECT_EQ(trim.cells[Cell(5, 6)].outcome, CellOutcome::kNotVisited);
}

TEST(MapAdvisorTest, ColdTransientAndUnfuelledSamplesAreLeftOut) {
  LogMaker maker;
  maker.At(5, 5, 10, 1.0)
      .At(5, 5, 10, 1.4, 1.0, /*clt=*/50)     // warming up
      .At(5, 5, 1, 0.7, 1.0, 85, /*tps=*/40)  // a stab of the throttle
      .At(5, 5, 4, 0.8, 1.0, 85, 40)          // settling after it
      .At(5, 5, 10, 1.0, 1.0, 85, 40)
      .At(5, 5, 1, 1.9, 1.0, 85, 40);
  maker.log.samples.back().pw_ms = 0;  // fuel cut
  AdvisorInputs in = Inputs(maker.log);
  in.settings.settle_s = 0.45;
  const Advice advice = AdviseMap(in);
  EXPECT_EQ(advice.cells[Cell(5, 5)].outcome, CellOutcome::kOnTarget);
  const auto& tally = advice.tally;
  EXPECT_EQ((std::vector<int>{tally.total, tally.cold, tally.transient,
                              tally.not_fuelled, tally.used}),
            (std::vector<int>{36, 10, 5, 1, 20}));
  // A cell is changed only with enough samples near it.
  const DataLog few = LogMaker().At(5, 5, 4, 1.1).log;
  EXPECT_EQ(AdviseMap(Inputs(few)).cells[Cell(5, 5)].outcome,
            CellOutcome::kTooFewSamples);
}

TEST(MapAdvisorTest, TheTargetComesFromTheEgoGrid) {
  // Set points 0.8 at a quarter of full speed, 1.0 at half: at 3/8 the
  // target is 0.9. Cell (5, 7) sits at 5500 of 16000 rev/min and 75 of
  // 160 kPa (0.34, 0.47): set points by speed alone here.
  const DataLog log = LogMaker().At(5, 7, 10, 0.99).log;
  AdvisorInputs in = Inputs(log);
  in.target.fixed.reset();
  for (int i = 0; i < kEgoSetPointCount; ++i) {
    in.target.ego_grid[static_cast<size_t>(i)] = i / 5 == 1 ? 0.8 : 1.0;
  }
  Advice advice = AdviseMap(in);
  const double expected = 0.8 + 0.2 * (5.5 / 16 - 0.25) / 0.25;
  EXPECT_NEAR(*advice.cells[Cell(5, 7)].mean_target, expected, 1e-12);
  EXPECT_NEAR(advice.cells[Cell(5, 7)].change_percent,
              (std::round(0.99 / expected * 128) / 128 - 1) * 100, 1e-9);
  // No set point around: no target, the samples are not used.
  for (auto& set_point : in.target.ego_grid) set_point.reset();
  advice = AdviseMap(in);
  EXPECT_EQ(advice.tally.no_target, 10);
  EXPECT_EQ(advice.cells[Cell(5, 7)].outcome, CellOutcome::kNotVisited);
}

TEST(MapAdvisorTest, UnknownCellsStayAndUnvisitedOnesMayFollowTheirNeighbours) {
  const DataLog log = LogMaker().At(5, 5, 10, 1.1).log;
  AdvisorInputs in = Inputs(log);
  in.map[Cell(5, 5)].reset();
  EXPECT_EQ(AdviseMap(in).cells[Cell(5, 5)].outcome, CellOutcome::kNoValue);
  in = Inputs(log);
  in.settings.skip_unvisited = false;
  const Advice advice = AdviseMap(in);
  EXPECT_EQ(advice.cells[Cell(5, 6)].outcome, CellOutcome::kFilled);
  EXPECT_DOUBLE_EQ(*advice.cells[Cell(4, 4)].proposed, 141.0 / 128);
  EXPECT_EQ(advice.cells[Cell(5, 7)].outcome, CellOutcome::kNotVisited);
  EXPECT_EQ(advice.changed_cells, 9);
}

TEST(MapAdvisorTest, MapErrorPerVisitedCell) {
  const DataLog log =
      LogMaker().At(5, 5, 4, 1.1).At(5, 5, 4, 0.9).At(7, 2, 2, 1.04).log;
  auto error = [&](int min_samples) {
    return MeasureMapError({&log}, kAxes, Inputs(log).target, {}, min_samples);
  };
  EXPECT_EQ(error(1).cells, 2);
  EXPECT_NEAR(error(1).mean, (0.1 + 0.04) / 2, 1e-12);
  EXPECT_NEAR(error(1).worst, 0.1, 1e-12);
  EXPECT_EQ(error(3).cells, 1);
}

// The shares of a point by cell, leaving out the cells without one.
std::map<int, double> Shares(MapPoint p) {
  std::map<int, double> shares;
  for (const CellWeight& w : FuelMapWeights(p)) {
    if (w.weight > 1e-12) shares[w.index] += w.weight;
  }
  return shares;
}

// A centre's own cell and a quarter of the way along speed are the shared
// samples of the advisor test above.
TEST(MapGeometryTest, FuelMapCellsSitAtTheirCentresOnTheAxes) {
  // Midway between four centres, a quarter each.
  EXPECT_EQ(
      Shares({4.0 / 16, 6.0 / 16}),
      (std::map<int, double>{{53, .25}, {54, .25}, {69, .25}, {70, .25}}));
  // Beyond the outer centres the edge cells hold: the corners and a point
  // far off the axes.
  EXPECT_EQ(Shares({0, 0}), (std::map<int, double>{{0, 1.0}}));
  EXPECT_EQ(Shares({1.2, 1.5}), (std::map<int, double>{{255, 1.0}}));
  EXPECT_EQ(Shares({1.0, 0.25 / 16}), (std::map<int, double>{{240, 1.0}}));
  EXPECT_EQ(Shares({std::nan(""), 0}), (std::map<int, double>{{0, 1.0}}));
  // On the axes, below the sensor's offset the pressure counts as the
  // offset (the offset itself: the log viewer's cell counts).
  const MapAxes axes{8000, 115, 10, false};
  EXPECT_DOUBLE_EQ(PointOnAxes(2000, 3, 40, axes).load, 0);
  EXPECT_DOUBLE_EQ(PointOnAxes(2000, 67.5, 40, {8000, 115, 10, true}).load,
                   0.4);
  EXPECT_DOUBLE_EQ(PointOnAxes(2000, 67.5, 40, {0, 0, 10, false}).speed, 0);
}

TEST(MapGeometryTest, EgoSetPointsInterpolateOverTheGrid) {
  std::array<std::optional<double>, kEgoSetPointCount> grid;
  for (int i = 0; i < kEgoSetPointCount; ++i) grid[i] = 1.0;
  grid[5 * 1 + 2] = 0.8;  // column 1 (speed 1/4), row 2 (load 1/2)
  EXPECT_DOUBLE_EQ(*EgoSetPointAt(grid, {0.25, 0.5}), 0.8);
  EXPECT_DOUBLE_EQ(*EgoSetPointAt(grid, {0.375, 0.5}), 0.9);
  EXPECT_DOUBLE_EQ(*EgoSetPointAt(grid, {0.375, 0.625}), 0.95);
  // The top right box has no set point: the mean of the two beside it.
  grid[19] = 1.2;
  grid[23] = 0.9;
  EXPECT_DOUBLE_EQ(*EgoSetPointAt(grid, {1.0, 1.0}), 1.05);
  EXPECT_DOUBLE_EQ(*EgoSetPointAt(grid, {2.0, 3.0}), 1.05);
  // A set point without a value is left out; none around gives nothing.
  grid[5 * 1 + 2] = std::nullopt;
  EXPECT_DOUBLE_EQ(*EgoSetPointAt(grid, {0.375, 0.5}), 1.0);
  EXPECT_FALSE(EgoSetPointAt(grid, {0.25, 0.5}).has_value());
}

// Every cell "1.00" as the ECU confirmed it.
std::array<AdvisorModel::MapCell, kMapCellCount> ConfirmedMap() {
  std::array<AdvisorModel::MapCell, kMapCellCount> map;
  map.fill({"1.00", true});
  return map;
}

// The model over one log, each sample's share on its nearest cell.
AdvisorModel Model(
    const DataLog& log,
    const std::array<AdvisorModel::MapCell, kMapCellCount>& map) {
  AdvisorSettings settings;
  settings.spread_over_neighbours = false;
  AdvisorModel model;
  model.AddLog(log);
  model.SetMap(map);
  model.set_axes(kAxes);
  model.set_settings(settings);
  model.Recompute();
  return model;
}

TEST(AdvisorModelTest, ProposesOnlyConfirmedCellsWhoseShownValueChanges) {
  const DataLog log = LogMaker()
                          .At(5, 5, 10, 1.10)   // 10 % lean
                          .At(8, 3, 10, 0.90)   // 10 % rich
                          .At(2, 2, 10, 1.003)  // within the map's step
                          .log;
  AdvisorModel model = Model(log, ConfirmedMap());
  // 1.1 x 128 = 140.8, held to 141: shown as Basic Mapping shows it.
  EXPECT_THAT(model.Proposals(), ElementsAre(FieldsAre(Cell(5, 5), "1.10"),
                                             FieldsAre(Cell(8, 3), ".90")));
  const MapGridCells grid = model.ProposedGrid();
  const GridCell& lean = grid[Cell(5, 5)];
  const GridCell& rich = grid[Cell(8, 3)];
  EXPECT_GT(lean.background.r, lean.background.b);
  EXPECT_GT(rich.background.b, rich.background.r);
  EXPECT_EQ(grid[Cell(2, 2)].background, kBrightWhite);
  EXPECT_EQ(grid[Cell(2, 2)].text, "1.00");
  // Never visited: grey, unchanged.
  EXPECT_NE(grid[Cell(0, 0)].background, kBrightWhite);
  EXPECT_EQ(model.HitGrid()[Cell(0, 0)].text, "");
  // Cells not confirmed by the ECU are left alone.
  const DataLog row =
      LogMaker().At(5, 5, 10, 1.1).At(6, 5, 10, 1.1).At(7, 5, 10, 1.1).log;
  auto map = ConfirmedMap();
  map[Cell(6, 5)].confirmed = false;  // an edit not yet sent
  map[Cell(7, 5)] = {"", false};      // not read
  AdvisorModel unsure = Model(row, map);
  EXPECT_THAT(unsure.Proposals(), ElementsAre(FieldsAre(Cell(5, 5), _)));
  EXPECT_NE(unsure.CurrentGrid()[Cell(6, 5)].background, kBrightWhite);
  EXPECT_THAT(unsure.CellTip(Cell(7, 5)), HasSubstr("not known"));
}

TEST(AdvisorModelTest, AChangeHeldAtTheLimitIsFramed) {
  DataLog log = LogMaker().At(5, 5, 10, 1.40).log;  // 15 % a pass
  // Lines left out of a log are named with it: they change the advice.
  log.source = "/logs/RUN.CSV";
  log.problems.push_back({12, "no RPM"});
  AdvisorModel model = Model(log, ConfirmedMap());
  EXPECT_THAT(model.Proposals(), ElementsAre(FieldsAre(Cell(5, 5), "1.15")));
  EXPECT_TRUE(model.ProposedGrid()[Cell(5, 5)].outlined);
  EXPECT_THAT(model.CellTip(Cell(5, 5)), HasSubstr("held at the limit"));
  EXPECT_THAT(model.CellTip(Cell(5, 5)), HasSubstr("lambda 1.400 for 1.000"));
  // Told in the unit the tuner chose; the advice itself stays the same.
  model.set_units({true, 14.7});
  EXPECT_THAT(model.CellTip(Cell(5, 5)), HasSubstr("AFR 20.58 for 14.70"));
  EXPECT_THAT(model.Summary(), HasSubstr("AFR off target by"));
  EXPECT_THAT(
      model.Summary(),
      HasSubstr(". RUN.CSV: 1 line could not be read (line 12: no RPM)"));
}

}  // namespace
}  // namespace ecu

#include "core/advisor/advisor_model.h"

#include <gtest/gtest.h>

namespace ecu {
namespace {

// Cell (c, r) has its centre at 1000 c + 500 rev/min and 10 r + 5 kPa.
const MapAxes kAxes{16000, 160, 0, false};

int Cell(int column, int row) { return 16 * column + row; }

void Add(DataLog& log, int column, int row, int n, double lambda) {
  for (int i = 0; i < n; ++i) {
    LogSample s;
    s.time_s = 36000 + 0.1 * static_cast<double>(log.samples.size());
    s.rpm = 1000 * column + 500;
    s.map_kpa = 10 * row + 5;
    s.lambda = lambda;
    s.ego_correction = 1.0;
    s.clt_c = 85;
    s.tps_percent = 20;
    s.pw_ms = 3;
    log.samples.push_back(s);
  }
}

// Every cell "1.00" as the ECU confirmed it.
std::array<AdvisorModel::MapCell, kMapCellCount> ConfirmedMap() {
  std::array<AdvisorModel::MapCell, kMapCellCount> map;
  map.fill({"1.00", true});
  return map;
}

AdvisorModel Model(const DataLog& log,
                   const std::array<AdvisorModel::MapCell, kMapCellCount>& map,
                   AdvisorSettings settings = {}) {
  AdvisorModel model;
  model.AddLog(log);
  model.SetMap(map);
  model.set_axes(kAxes);
  model.set_settings(settings);
  model.Recompute();
  return model;
}

TEST(AdvisorModelTest, ProposesOnlyCellsWhoseShownValueChanges) {
  DataLog log;
  Add(log, 5, 5, 10, 1.10);   // 10 % lean
  Add(log, 8, 3, 10, 0.90);   // 10 % rich
  Add(log, 2, 2, 10, 1.003);  // within the map's step: the cell stays
  AdvisorSettings nearest;
  nearest.spread_over_neighbours = false;
  AdvisorModel model = Model(log, ConfirmedMap(), nearest);
  const std::vector<CellProposal> proposals = model.Proposals();
  ASSERT_EQ(proposals.size(), 2u);
  // 1.1 x 128 = 140.8, held to 141: shown as Basic Mapping shows it.
  EXPECT_EQ(proposals[0].cell, Cell(5, 5));
  EXPECT_EQ(proposals[0].text, "1.10");
  EXPECT_EQ(proposals[1].cell, Cell(8, 3));
  EXPECT_EQ(proposals[1].text, ".90");

  const MapGridCells grid = model.ProposedGrid();
  const GridCell& lean = grid[Cell(5, 5)];
  const GridCell& rich = grid[Cell(8, 3)];
  EXPECT_GT(lean.background.r, lean.background.b);
  EXPECT_GT(rich.background.b, rich.background.r);
  EXPECT_EQ(grid[Cell(2, 2)].background, kBrightWhite);
  EXPECT_EQ(grid[Cell(2, 2)].text, "1.00");
  // Never visited: grey, unchanged.
  EXPECT_NE(grid[Cell(0, 0)].background, kBrightWhite);
  EXPECT_EQ(model.HitGrid()[Cell(5, 5)].text, "10");
  EXPECT_EQ(model.HitGrid()[Cell(0, 0)].text, "");
}

TEST(AdvisorModelTest, CellsNotConfirmedByTheEcuAreLeftAlone) {
  DataLog log;
  Add(log, 5, 5, 10, 1.10);
  Add(log, 6, 5, 10, 1.10);
  Add(log, 7, 5, 10, 1.10);
  auto map = ConfirmedMap();
  map[Cell(6, 5)].confirmed = false;  // an edit not yet sent
  map[Cell(7, 5)] = {"", false};      // not read
  AdvisorSettings nearest;
  nearest.spread_over_neighbours = false;
  AdvisorModel model = Model(log, map, nearest);
  const std::vector<CellProposal> proposals = model.Proposals();
  ASSERT_EQ(proposals.size(), 1u);
  EXPECT_EQ(proposals[0].cell, Cell(5, 5));
  EXPECT_NE(model.CurrentGrid()[Cell(6, 5)].background, kBrightWhite);
  EXPECT_NE(model.CellTip(Cell(7, 5)).find("not known"), std::string::npos);
}

TEST(AdvisorModelTest, AChangeHeldAtTheLimitIsFramed) {
  DataLog log;
  Add(log, 5, 5, 10, 1.40);  // 40 % lean, 15 % a pass
  AdvisorSettings nearest;
  nearest.spread_over_neighbours = false;
  AdvisorModel model = Model(log, ConfirmedMap(), nearest);
  ASSERT_EQ(model.Proposals().size(), 1u);
  EXPECT_EQ(model.Proposals()[0].text, "1.15");
  EXPECT_TRUE(model.ProposedGrid()[Cell(5, 5)].outlined);
  EXPECT_NE(model.CellTip(Cell(5, 5)).find("held at the limit"),
            std::string::npos);
  EXPECT_NE(model.CellTip(Cell(5, 5)).find("lambda 1.400 for 1.000"),
            std::string::npos);
  // Told in the unit the tuner chose; the advice itself stays the same.
  model.set_units({true, 14.7});
  EXPECT_NE(model.CellTip(Cell(5, 5)).find("AFR 20.58 for 14.70"),
            std::string::npos);
  EXPECT_NE(model.Summary().find("AFR off target by"), std::string::npos);
}

}  // namespace
}  // namespace ecu

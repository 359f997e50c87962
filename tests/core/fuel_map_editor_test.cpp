#include "core/editors/fuel_map_editor.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <tuple>

#include "core/editors/configuration_editor.h"
#include "core/editors/configuration_fields.h"
#include "core/editors/configuration_layout.h"
#include "core/editors/configuration_order.h"
#include "core/editors/curve_editor.h"
#include "core/editors/supplementary_editor.h"
#include "core/editors/surface_graph.h"
#include "core/editors/value_bands.h"
#include "core/link/frame.h"
#include "editor_rig.h"

namespace ecu {
namespace {

using testing::ByteRead;
using ::testing::Each;
using testing::FuelMapRig;
using testing::MapWrite;
using testing::Texts;

TEST(FuelMapFillTest, FirstActivationReadsEverythingInOrder) {
  FuelMapRig rig;
  for (int i = 0; i < kMapCellCount; ++i)
    rig.memory().SetTableByte(0x100 + i, i % 200);
  rig.memory().SetWord(0xB4 + 2 * 8, 625);
  rig.memory().SetTableByte(0xC6 + 8, 32);
  rig.editor.Activate();
  Texts expected = {"B000", "Z000"};
  testing::AddByteReads(expected, 0x100, kMapCellCount);
  for (int k = 0; k < kTpsPoints; ++k) {
    expected.push_back(Command('X', 0xB4 + 2 * k, 0, 0));
    expected.push_back(ByteRead(0xC6 + k));
  }
  EXPECT_EQ(rig.TakeRequests(), expected);
  EXPECT_EQ((Texts{rig.Text("ecu_pgm", 0), rig.Text(kMapCells, 150),
                   rig.Text(kTpsPulseWidths, 8), rig.Text(kTpsPercents, 8)}),
            (Texts{"10.200", "1.17", "1.000", "50.0"}));
  EXPECT_EQ(rig.Cell(kTpsPercents, 8).background, kBrightWhite);
  // Map cells take their band: 0 the lowest eighth, 199 the highest.
  EXPECT_EQ(rig.Cell(kMapCells, 0).background, kBandColours[7]);
  EXPECT_EQ(rig.Cell(kMapCells, 199).background, kBandColours[0]);
  EXPECT_EQ(rig.editor.colour_memory()[199], kBandColours[0]);  // the graph's
  EXPECT_EQ(rig.editor.legend()[0], "1.55");
  EXPECT_TRUE(rig.editor.cells().enabled());

  // Shown again, it keeps what it shows; after the close box it reads again.
  rig.editor.Activate();
  EXPECT_TRUE(rig.TakeRequests().empty());
  rig.editor.Discard();
  EXPECT_EQ(rig.Text(kMapCells, 150), "");
  rig.editor.Activate();
  EXPECT_EQ(rig.TakeRequests().size(), 276u);
}

TEST(FuelMapFillTest, TheFillWaitsForARunningTransactionOrIsDropped) {
  FuelMapRig rig;
  rig.answered.clear();
  rig.DuringLiveRequest([&] { rig.editor.Activate(); });
  EXPECT_FALSE(rig.editor.cells().enabled());
  rig.ctx.link.RunDeferred();
  EXPECT_EQ(rig.TakeRequests().size(), 276u);
  EXPECT_TRUE(rig.editor.cells().enabled());

  // Closed by the close box, or hidden, before the link came free: nothing
  // is read; shown again, the window fills as usual.
  SupplementaryEditor supplementary(rig.ctx.editors());
  ConfigurationEditor configuration(rig.ctx.editors());
  rig.editor.Discard();
  rig.DuringLiveRequest([&] {
    rig.editor.Activate();
    rig.editor.Discard();
    supplementary.Activate();
    supplementary.Discard();
    configuration.Activate();
    configuration.Hidden();
  });
  rig.ctx.link.RunDeferred();
  EXPECT_TRUE(rig.TakeRequests().empty());
  configuration.Activate();
  EXPECT_EQ(rig.TakeRequests().size(), ConfigurationFillReads().size());
}

// Demo mode: every editor shows its demo texts as the ECU's, sends nothing,
// and entries keep their marks through an update.
TEST(EditorDemoTest, EachEditorShowsItsDemoTextsAndSendsNothing) {
  FuelMapRig rig(true);
  CurveEditor curves(rig.ctx.editors());
  SupplementaryEditor supplementary(rig.ctx.editors());
  ConfigurationEditor configuration(rig.ctx.editors());
  ConfigurationSwitches& switches = configuration.switches();
  switches.Click({kTpsMapped});
  rig.editor.Activate();
  curves.Activate();
  supplementary.Activate();
  configuration.Activate();
  EXPECT_TRUE(rig.port.written().empty());
  const TableEditor& fields = configuration.fields();
  const std::tuple<const TableEditor&, CellRef, std::string> shown[] = {
      {rig.cells(), {"ecu_pgm", 0}, "10.200"},
      {rig.cells(), {"ecu_pgm", 1}, "-.525"},
      {rig.cells(), {kCutInBox, 0}, "300"},
      {rig.cells(), {kMapCells, 255}, "1.00"},
      {rig.cells(), {kTpsPulseWidths, 3}, "0.000"},
      {rig.cells(), {kTpsPercents, 3}, "00.0"},
      {supplementary.cells(), {kDutyCells, 0}, "0.000"},
      {supplementary.cells(), {kCoolantThreshold, 0}, "93"},
      {fields, {"min_ego_gain", 0}, ".604"},
      {fields, {"priming_pw_cold", 0}, "10.000"}};
  for (const auto& [cells, ref, text] : shown) {
    EXPECT_EQ(testing::StateOf(cells, ref), text) << ref.family;
  }
  EXPECT_THAT(testing::States(curves.cells()), Each("1.000"));
  EXPECT_EQ(rig.Cell(kMapCells, 100).background, kBandColours[7]);
  EXPECT_EQ(fields.cell({"min_ego_gain", 0}).background, kBrightWhite);
  // Fields without a demo text keep their mark; the switches show the demo.
  EXPECT_TRUE(fields.cell({kTpsClosedField, 0}).changed());
  EXPECT_TRUE(fields.cell({"min_rpm_for_ego", 0}).changed());
  EXPECT_EQ(switches.state({kTpsMapped}).text, kPlainText);
  EXPECT_TRUE(switches.row_known(0));
  EXPECT_FALSE(switches.row_marked(0));
  EXPECT_EQ(supplementary.source().selected, 1);
  EXPECT_EQ(supplementary.source().m_src, "1");
  EXPECT_EQ(supplementary.source().source_units, "TPS %");

  rig.Type({kMapCells, 1}, "1.5");
  curves.cells().Edited({kIdleSpeeds, 0}, "900");
  configuration.fields().Edited({"max_rpm", 0}, "7000");
  configuration.Click({kMapAccel});
  configuration.Click({"inj_ph_2", 1});
  rig.cells().Update();
  curves.Update();
  configuration.Update();
  EXPECT_TRUE(rig.port.written().empty());
  EXPECT_TRUE(rig.prompts.shown().empty());
  EXPECT_TRUE(rig.Cell(kMapCells, 1).changed());
  EXPECT_TRUE(curves.cells().cell({kIdleSpeeds, 0}).changed());
  EXPECT_TRUE(fields.cell({"max_rpm", 0}).changed());
  EXPECT_EQ(switches.state({kMapAccel}).text, kYellow);
}

TEST(FuelMapFillTest, AxesFollowTheScalingAndTheGraphOnlyMapChanges) {
  FuelMapRig rig;
  rig.ctx.live.MapSpan = 255;
  rig.ctx.live.MapOffset = 10;
  rig.ctx.live.FullScaleRpm = 7000;
  rig.editor.Fill();
  const FuelMapAxes& axes = rig.editor.axes();
  const auto captions = [&] {
    return Texts{axes.load_unit, axes.load[1], axes.load[16], axes.speed[1],
                 axes.speed[3]};
  };
  // Load 1 is 15.9375 + 10, truncated.
  EXPECT_EQ(captions(), (Texts{"kPa", "25", "265", "875", "2625"}));

  // A new configuration moves the live cell, and the captions with it.
  rig.ctx.image.set_scalar("OPTIONS", 1);
  rig.ctx.live.FullScaleRpm = 8000;
  rig.editor.AfterPollingPass();
  EXPECT_EQ(captions(), (Texts{"% TPS", "6", "100", "1000", "3000"}));
  // The graph redraws on map changes, only outside the fill.
  int redraws = 0;
  rig.editor.graph().set_redraw([&] { ++redraws; });
  rig.editor.graph().Show();
  redraws = 0;
  rig.editor.Fill();
  EXPECT_EQ(redraws, 0);
  rig.editor.cells().Edited({kMapCells, 3}, "1.3");
  rig.editor.cells().Edited({kTpsPercents, 3}, "50");
  EXPECT_EQ(redraws, 1);
  rig.editor.Hidden();
  rig.editor.cells().Edited({kMapCells, 3}, "1.4");
  EXPECT_EQ(redraws, 1);
}

// The live pass: read-outs, then the operating point on the grid.
struct LiveRig : FuelMapRig {
  LiveRig() {
    editor.Activate();
    live().FullScaleRpm = 8000;
    live().MapSpan = 115;
    live().MapOffset = 10;
  }
  LiveData& live() { return ctx.live; }
  int LiveIndexAt(float rpm, float map) {
    live().RPM = rpm;
    live().MAP = map;
    editor.AfterPollingPass();
    return editor.operating_point().live_index;
  }
};

TEST(FuelMapLiveTest, TheLiveCellIsCyanTheReadoutsFollowAndEdgesHoldTheCell) {
  LiveRig rig;
  rig.LiveIndexAt(1000, 10 + 115 * 3.5f / 16);  // cell 35
  EXPECT_EQ(rig.Cell(kMapCells, 35).background, kLightCyan);
  rig.LiveIndexAt(500, 10 + 115 * 3.5f / 16);  // cell 19
  EXPECT_EQ(rig.Cell(kMapCells, 35).background, kBrightWhite);
  EXPECT_EQ(rig.Cell(kMapCells, 19).background, kLightCyan);
  rig.editor.cells().Edited({kMapCells, 51}, "1.1");
  rig.LiveIndexAt(1500, 10 + 115 * 3.5f / 16);  // cell 51
  EXPECT_EQ(rig.Cell(kMapCells, 51).background, kYellow);
  EXPECT_EQ(rig.Cell(kMapCells, 19).background, kBrightWhite);
  // The read-outs and the rich/lean indicator.
  rig.live().Lambda = 1.08f;
  rig.live().EgoCorrection = 1.02f;
  rig.live().MapEnrichment = 0.97f;
  rig.live().RPM = 3215.4f;
  rig.live().PW = 0.0081f;
  rig.editor.AfterPollingPass();
  const FuelMapReadouts& shown = rig.editor.readouts();
  EXPECT_EQ(
      (Texts{shown.control_lambda, shown.af_condition, shown.control_ego_gain,
             shown.control_map_gain, shown.mapping_rpm, shown.inj_pulse_width}),
      (Texts{"1.080", "Lean", "1.020", "0.970", "3215", "8.100"}));
  EXPECT_EQ(shown.af_colour, kLightRed);
  rig.live().Lambda = 1.0f;  // exactly 1: the indicator stays
  rig.editor.AfterPollingPass();
  EXPECT_EQ(shown.af_condition, "Lean");
  rig.live().Lambda = 0.9f;
  rig.editor.AfterPollingPass();
  EXPECT_EQ(shown.af_condition, "Rich");
  EXPECT_EQ(shown.af_colour, kBlue);
  rig.live().Lambda = 0;
  rig.editor.AfterPollingPass();
  EXPECT_EQ(shown.af_condition, "");

  // Column 5 (5/16 of 8000 = 2500), row 3 (3/16 of 115 above 10).
  EXPECT_EQ(rig.LiveIndexAt(2600, 10 + 115 * 3.5f / 16), 16 * 5 + 3);
  // Below the sensor's offset: raised to it, and stored so.
  EXPECT_EQ(rig.LiveIndexAt(0, 4), 0);
  EXPECT_EQ(rig.live().MAP, 10);
  // The top of the load axis is the bottom of the next column...
  EXPECT_EQ(rig.LiveIndexAt(2600, 125), 16 * 6);
  // ... and at full scale 272 is held to the last cell.
  EXPECT_EQ(rig.LiveIndexAt(8000, 125), 255);
  rig.ctx.image.set_scalar("OPTIONS", 1);
  rig.live().TPS = 50;
  EXPECT_EQ(rig.LiveIndexAt(0, 100), 8);
  EXPECT_DOUBLE_EQ(rig.editor.operating_point().tps_fraction, 0.5);
  rig.live().FullScaleRpm = 0;  // no configuration yet
  EXPECT_EQ(rig.LiveIndexAt(3000, 10), 8);
}

TEST(FuelMapUpdateTest, EnterSendsEveryMarkedCellAndTheEchoPaintsItWhite) {
  FuelMapRig rig;
  rig.FillFlat();
  // All cells equal: all take the lowest band.
  for (int i = 0; i < kMapCellCount; ++i) {
    ASSERT_EQ(rig.Cell(kMapCells, i).background, kBandColours[7]);
  }
  rig.Type({kMapCells, 17}, "1.25");
  rig.Type({kMapCells, 200}, "0.5");
  rig.Key({kMapCells, 3}, EditorKey::kEnter);
  EXPECT_EQ(rig.TakeRequests(), (Texts{MapWrite(17, 160), MapWrite(200, 64)}));
  EXPECT_EQ(rig.Text(kMapCells, 17), "1.25");
  EXPECT_EQ(rig.Text(kMapCells, 200), ".50");
  EXPECT_EQ(rig.Cell(kMapCells, 17).background, kBrightWhite);
  EXPECT_TRUE(rig.prompts.shown().empty());
  // Nothing is marked any more: a second Enter sends nothing.
  rig.Key({kMapCells, 3}, EditorKey::kEnter);
  EXPECT_TRUE(rig.TakeRequests().empty());
  // Writes go in the window's order with their conversions: the percent is
  // clamped to 64 and the pulse width to 0 without a message, 1.99 (254.72)
  // rounds to 255.
  const testing::CellEntries typed = {
      {{kTpsPulseWidths, 1}, "2"},  {{kTpsPercents, 1}, "150"},
      {{kMapCells, 0}, "1.99"},     {{kCutInBox, 0}, "5000"},
      {{"ecu_pgm", 1}, "-26.2144"}, {{"ecu_pgm", 0}, "8"},
      {{kTpsPulseWidths, 0}, "-1"}};
  EXPECT_EQ(rig.Sent(typed),
            (Texts{CommandWithWord('m', 5000), CommandWithWord('o', 0),
                   CommandWithWord('z', 512), MapWrite(0, 255),
                   Command('x', 0xB4, 0, 0), Command('e', 0xC7, 0, 64),
                   Command('x', 0xB6, 1250 & 0xFF, 1250 >> 8)}));
  EXPECT_TRUE(rig.prompts.shown().empty());
  EXPECT_EQ(rig.Text(kTpsPercents, 1), "100.0");
}

TEST(FuelMapUpdateTest, RefusedValuesKeepTheirMarkAndTheRestIsSent) {
  FuelMapRig rig;
  rig.FillFlat();
  // The scaler's 104.9 is a count beyond 16 bits.
  const testing::CellEntries typed = {
      {{"ecu_pgm", 0}, "104.9"}, {{"ecu_pgm", 1}, "52.4288"},
      {{kCutInBox, 0}, "10006"}, {{kMapCells, 5}, "2"},
      {{kMapCells, 6}, "-0.01"}, {{kMapCells, 7}, "1"}};
  EXPECT_EQ(rig.Sent(typed), Texts{MapWrite(7, 128)});
  EXPECT_EQ(
      rig.prompts.texts(),
      (Texts{
          "The value for the Fuel Scaler is too high, it will not be updated",
          "The value for the Fuel Offset is too high, it will not be updated",
          "The value for the TPS Map cut-in RPM was too high, it will not be "
          "updated",
          "A MAP Gain cell has been found that is too high, it will not be "
          "updated",
          "A MAP Gain cell has been found that is negative, it will not be "
          "updated"}));
  // The refused keep their entry and mark; the cell sent shows the echo.
  for (const auto& [ref, text] : typed) {
    const bool sent = ref == CellRef{kMapCells, 7};
    EXPECT_EQ(rig.State(ref.family, ref.index), sent ? "1.00" : text + "*");
  }

  rig.prompts.Clear();
  // The negative cut-in is not silently sent as 0.
  const testing::CellEntries negative = {{{"ecu_pgm", 0}, "-0.01"},
                                         {{"ecu_pgm", 1}, "-26.22"},
                                         {{kCutInBox, 0}, "-300"}};
  EXPECT_TRUE(rig.Sent(negative).empty());
  // The map cells still marked follow.
  Texts told = rig.prompts.texts();
  told.resize(3);
  EXPECT_EQ(
      told,
      (Texts{
          "The value for the Fuel Scaler is negative, it will not be updated",
          "The value for the Fuel Offset is too negative, it will not be "
          "updated",
          "The value for the TPS Map cut-in RPM is negative, it will not be "
          "updated"}));
  EXPECT_TRUE(rig.Cell(kCutInBox, 0).changed());
}

TEST(FuelMapUpdateTest, CellsWithoutANumberAreNeverWritten) {
  FuelMapRig rig;
  rig.FillFlat();
  rig.editor.cells().MarkUnread(kMapCells, true);  // as if nothing came back
  const testing::CellEntries typed = {{{kMapCells, 1}, "abc"},
                                      {{kMapCells, 2}, "x1"},
                                      {{kMapCells, 3}, " 1.5"}};
  EXPECT_EQ(rig.Sent(typed), Texts{MapWrite(3, 192)});
  // One message for the pass, however many such cells.
  EXPECT_EQ(rig.prompts.texts(), Texts{"A cell that does not hold a number has "
                                       "been found, it will not be updated"});
  EXPECT_TRUE(rig.Cell(kMapCells, 1).changed());
}

TEST(FuelMapUpdateTest, ResetAsksFirstAndSendsNothing) {
  FuelMapRig rig;
  rig.FillFlat();
  rig.editor.RequestReset();
  ASSERT_EQ(rig.prompts.shown().size(), 1u);
  const Message& q = rig.prompts.shown()[0];
  EXPECT_EQ(std::tie(q.title, q.text, q.buttons, q.icon, q.default_button),
            std::make_tuple("CAUTION!",
                            "this function will overwrite the table, continue?",
                            Buttons::kYesNo, Icon::kExclamation, 1));
  EXPECT_FALSE(rig.Cell(kMapCells, 0).changed());

  rig.editor.cells().ShowConfirmed({kMapCells, 4}, "1.56");
  rig.prompts.QueueAnswer(Answer::kYes);
  rig.editor.RequestReset();
  EXPECT_THAT(testing::States(rig.cells(), kMapCells), Each("1.00*"));
  EXPECT_FALSE(rig.Cell("ecu_pgm", 0).changed());
  EXPECT_TRUE(rig.TakeRequests().empty());
}

TEST(FuelMapUpdateTest, AnUpdateAskedForMidTransactionWaitsForIt) {
  FuelMapRig rig;
  rig.FillFlat();
  rig.answered.clear();  // the live frame too
  rig.Type({kMapCells, 1}, "1.5");
  rig.DuringLiveRequest([&] { rig.Key({kMapCells, 1}, EditorKey::kEnter); });
  EXPECT_TRUE(rig.TakeRequests().empty());
  rig.ctx.link.RunDeferred();
  EXPECT_EQ(rig.TakeRequests(), Texts{MapWrite(1, 192)});
}

constexpr int kN = 16;
// Frame (4 floor + 3 uprights) and height scale (2 x 10) come first.
constexpr size_t kFrameSegments = 7 + 20;

struct Surface {
  Surface() : values(kN * kN, 1.0), colours(kN * kN, kLightGreen) {}
  std::vector<Segment> Draw(int w = 400, int h = 300) const {
    return SurfaceSegments(view, w, h, values, colours, kN, kN);
  }
  // The first point of the segment drawn from grid point (c, r) along the
  // speed axis.
  Segment FromPoint(int c, int r) const {
    return Draw()[kFrameSegments + 2 * static_cast<size_t>((kN - 1) * c + r)];
  }
  SurfaceSettings view;
  std::vector<double> values;
  std::vector<Rgb> colours;
};

TEST(SurfaceGraphTest, FrameScaleAndHeightsWithHalvesToEven) {
  Surface s;
  const std::vector<Segment> drawn = s.Draw(400, 300);
  ASSERT_EQ(drawn.size(), kFrameSegments + 15 * 15 * 2 + 15 + 15);
  // OX 10, OY 285, WX 260, HZ 120, DX 120 (60 %), DY 105 (100 - 30 %).
  EXPECT_EQ(drawn[0], (Segment{10, 285, 270, 285, kGrey}));
  EXPECT_EQ(drawn[1], (Segment{10, 285, 130, 180, kGrey}));
  EXPECT_EQ(drawn[2], (Segment{130, 180, 390, 180, kGrey}));
  EXPECT_EQ(drawn[3], (Segment{390, 180, 270, 285, kGrey}));
  EXPECT_EQ(drawn[4], (Segment{10, 285, 10, 165, kGrey}));
  EXPECT_EQ(drawn[6], (Segment{390, 180, 390, 60, kGrey}));
  // Tenths of HZ, 12 units apart, on the left and back walls.
  EXPECT_EQ(drawn[7], (Segment{10, 273, 130, 168, kGrey}));
  EXPECT_EQ(drawn[26], (Segment{130, 60, 390, 60, kGrey}));
  // 1.00 lies at 40 % of the default scale, 0.60 to 1.60; the last row is
  // DX right and DY up of the first.
  EXPECT_EQ(s.FromPoint(0, 0).y1, 237);
  EXPECT_EQ(drawn[kFrameSegments + 2 * 15 * 15].x1, 130);
  EXPECT_EQ(drawn[kFrameSegments + 2 * 15 * 15].y1, 132);
  // OX = 100 x 0.025 = 2.5 and OY = 30 x 0.95 = 28.5 go to 2 and 28.
  EXPECT_EQ(s.Draw(100, 30)[0], (Segment{2, 28, 67, 28, kGrey}));
  // An automatic scale puts equal cells at mid-height.
  s.view.low_scale = "0";
  s.view.high_scale = ".00";
  const SurfaceScale scale = ScaleOf(s.view, s.values);
  EXPECT_EQ(std::pair(scale.low, scale.high), std::pair(0.0, 2.0));
  // Height 50 % of HZ 120 above the floor's front corner (10, 285).
  EXPECT_EQ(s.FromPoint(0, 0).x1, 10);
  EXPECT_EQ(s.FromPoint(0, 0).y1, 225);
  // Typed scales that are equal but not 0 centre on cell 0 as well.
  s.view.low_scale = s.view.high_scale = "1.2";
  s.values[0] = 0.7;
  EXPECT_DOUBLE_EQ(ScaleOf(s.view, s.values).low, -0.3);
  // Otherwise the map sets the scale.
  s.view.low_scale = s.view.high_scale = "";
  s.values[5] = 1.9;
  EXPECT_EQ(ScaleOf(s.view, s.values).low, 0.7);
  EXPECT_EQ(ScaleOf(s.view, s.values).high, 1.9);
  // A low scale above the high one turns the surface upside down.
  s.values[0] = 1.5;                                      // column 0, row 0
  s.values[16] = 1.0;                                     // column 1, row 0
  EXPECT_LT(s.FromPoint(0, 0).y1, s.FromPoint(1, 0).y1);  // higher is up
  s.view.low_scale = "2";
  s.view.high_scale = "0";
  EXPECT_GT(s.FromPoint(0, 0).y1, s.FromPoint(1, 0).y1);
}

TEST(SurfaceGraphTest, EachSegmentTakesTheColourOfItsStartCell) {
  Surface s;
  s.colours[16 * 3 + 2] = kLightRed;  // inner point (3, 2)
  s.colours[16 * 3 + 15] = kBlue;     // far edge, column 3
  s.colours[16 * 15 + 4] = kYellow;   // right edge, row 4
  const std::vector<Segment> drawn = s.Draw();
  std::vector<Rgb> surface;
  for (size_t i = kFrameSegments; i < drawn.size(); ++i) {
    surface.push_back(drawn[i].colour);
  }
  EXPECT_EQ(surface[2 * (15 * 3 + 2)], kLightRed);
  EXPECT_EQ(surface[2 * (15 * 3 + 2) + 1], kLightRed);
  EXPECT_EQ(surface[450 + 3], kBlue);
  EXPECT_EQ(surface[465 + 4], kYellow);
  EXPECT_EQ(std::count(surface.begin(), surface.end(), kLightGreen), 480 - 4);
}

TEST(SurfaceGraphTest, RedrawsOnEachSettingAndStartsAfreshWhenReloaded) {
  SurfaceGraph graph;
  int redraws = 0;
  graph.set_redraw([&] { ++redraws; });
  graph.Show();
  graph.set_h_scroll(10);
  graph.set_low_scale("0.9");
  EXPECT_EQ(redraws, 3);
  graph.Hide();
  EXPECT_EQ(graph.view().h_scroll, 10);
  graph.Close();
  EXPECT_EQ(graph.view().h_scroll, 60);
  EXPECT_EQ(graph.view().low_scale, "0.60");
}

}  // namespace
}  // namespace ecu

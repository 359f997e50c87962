#include <gtest/gtest.h>

#include <algorithm>

#include "core/editors/fuel_map_editor.h"
#include "core/editors/surface_graph.h"
#include "editor_rig.h"

namespace ecu {
namespace {

using testing::Texts;

// Basic Mapping filled from the virtual ECU (every cell 1.00, white).
struct UndoRig : testing::FuelMapRig {
  UndoRig() {
    FillMap(128);
    editor.Activate();
    TakeRequests();
  }
  const std::string& Text(int i) { return FuelMapRig::Text(kMapCells, i); }
  bool Marked(int i) { return Cell(kMapCells, i).changed(); }
  // A map cell's text, and "*" after it while it is marked.
  std::string State(int i) { return Text(i) + (Marked(i) ? "*" : ""); }
  void Type(int i, const std::string& text) {
    for (size_t n = 1; n <= text.size(); ++n) {
      cells().Edited({kMapCells, i}, text.substr(0, n));
    }
  }
};

TEST(EditorUndoTest, ATypedEntryIsOneStepAndUnsentUndoIsWhiteAgain) {
  UndoRig rig;
  ASSERT_EQ(rig.State(5), "1.00");
  rig.Type(5, "1.25");
  rig.cells().FocusChanged({kMapCells, 5}, false);
  rig.Type(6, "0.9");
  ASSERT_TRUE(rig.Marked(5));
  rig.cells().Undo();
  EXPECT_EQ(rig.State(6), "1.00");  // the ECU still holds 1.00
  EXPECT_EQ(rig.Text(5), "1.25");
  rig.cells().Undo();
  EXPECT_EQ(rig.State(5), "1.00");
  EXPECT_FALSE(rig.cells().CanUndo());
  rig.cells().Redo();
  EXPECT_EQ(rig.State(5), "1.25*");
  // A new change drops what could have been redone.
  rig.Type(7, "2");
  EXPECT_FALSE(rig.cells().CanRedo());
  EXPECT_TRUE(rig.TakeRequests().empty());  // undo and redo send nothing
  // A fresh read from the ECU starts the history again.
  rig.cells().BeginFill();
  rig.cells().EndFill();
  EXPECT_FALSE(rig.cells().CanUndo());
}

TEST(EditorUndoTest, UndoingASentValueMarksThePreviousOneForTheNextUpdate) {
  UndoRig rig;
  rig.Type(5, "1.25");
  rig.cells().Update();
  ASSERT_EQ(rig.memory().TableByte(0x105), 160);
  ASSERT_FALSE(rig.Marked(5));  // the echo confirmed it
  rig.TakeRequests();
  rig.cells().Undo();
  EXPECT_EQ(rig.State(5), "1.00*");  // the ECU holds 1.25: 1.00 waits
  EXPECT_TRUE(rig.TakeRequests().empty());
  rig.cells().Redo();
  EXPECT_EQ(rig.State(5), "1.25");  // as the ECU holds it
  rig.cells().Undo();
  rig.cells().Update();
  EXPECT_EQ(rig.memory().TableByte(0x105), 128);
  EXPECT_FALSE(rig.Marked(5));
}

// Block operations are one step as well: see the Basic Mapping window test.
TEST(EditorUndoTest, NudgesResetsAndAppliesAreOneStepEach) {
  UndoRig rig;
  rig.Type(17, "1.50");
  rig.cells().FocusChanged({kMapCells, 17}, false);
  rig.editor.KeyPressed({kMapCells, 40},
                        {.key = EditorKey::kUp, .shift = true});
  ASSERT_EQ(rig.Text(40), "1.01");
  // Ctrl+Z through the keys, as the window hands them on.
  rig.editor.KeyPressed({kMapCells, 40}, {.key = EditorKey::kUndo});
  EXPECT_EQ(rig.State(40), "1.00");
  EXPECT_EQ(rig.Text(17), "1.50");
  rig.prompts.QueueAnswer(Answer::kYes);
  ASSERT_TRUE(rig.cells().ConfirmAndReset(kMapCells));
  rig.cells().Undo();
  EXPECT_EQ((Texts{rig.State(17), rig.State(100)}), (Texts{"1.50*", "1.00"}));
  // The map advisor's Apply: every cell it changed comes back at once.
  rig.editor.PutMapTexts({{30, "1.10"}, {31, "0.90"}});
  EXPECT_TRUE(rig.Marked(31));
  rig.cells().Undo();
  EXPECT_EQ(rig.Text(30), "1.00");
  EXPECT_FALSE(rig.Marked(31));
  EXPECT_EQ(rig.Text(17), "1.50");  // the reset's undo stays
  EXPECT_TRUE(rig.TakeRequests().empty());
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

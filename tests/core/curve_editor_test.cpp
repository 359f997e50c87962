#include "core/editors/curve_editor.h"

#include <gmock/gmock.h>

#include "core/editors/axis_pointer.h"
#include "core/editors/supplementary_editor.h"
#include "core/link/frame.h"
#include "editor_rig.h"

namespace ecu {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::Not;
using Labels = testing::Texts;
using testing::ByteWrite;
using testing::CellsRig;
using testing::Texts;

// "Additional Mapping" over the virtual ECU, filled.
struct CurveRig : CellsRig<CurveEditor> {
  explicit CurveRig(bool demo = false) : CellsRig(demo) {
    memory().SetTableByte(0x070, 96);  // CLT gain 1.5
    memory().SetTableByte(0x0D4 + 23, 0);
    editor.Activate();
  }
};

TEST(CurveEditorTest, FillReadsTheConfigurationThenEveryCurveAndSetPoint) {
  CurveRig rig;
  Texts expected = {"C000"};
  for (int first : {0x070, 0x080, 0x200, 0x210, 0x240, 0x220, 0x230, 0x090}) {
    testing::AddByteReads(expected, first, kCurvePoints);
  }
  testing::AddByteReads(expected, 0x0D4, kEgoSetPointCount);
  EXPECT_EQ(rig.TakeRequests(), expected);
  EXPECT_TRUE(rig.prompts.shown().empty());
  EXPECT_TRUE(rig.editor.cells().enabled());
  // Set point 23, raw 0, has no lambda: shown blank, never sent back.
  EXPECT_EQ(rig.Text(kMapRetards, 4), ".000");
  EXPECT_EQ(rig.Text(kEgoSetPoints, 0), "1.000");
  EXPECT_EQ(rig.Text(kEgoSetPoints, 23), "");
  EXPECT_THAT(testing::States(rig.cells()), Each(Not(EndsWith("*"))));
  // Activation reads again: unsent edits give way.
  rig.Type({kCoolantGains, 0}, "2");
  rig.editor.Activate();
  EXPECT_EQ(rig.State(kCoolantGains, 0), "1.500");
}

TEST(CurveEditorTest, AxesFollowTheConfigurationReadAndMarkersTheEngine) {
  CurveRig rig;
  LiveData& live = rig.ctx.live;
  live.CLT = 83;  // 96 of the 128 degrees above -13
  live.MAT = -13;
  live.AuxVolts = 1.65f;
  live.MAP = 38.75f;  // a quarter of 115 kPa above 10
  live.RPM = 7500;    // of 10000
  live.Baro = 125;
  rig.editor.AfterPollingPass();
  const AxisPointer axis;
  auto at = [&](CurveInput input) {
    return axis.PositionFor(rig.editor.marker(input), 40, 440);
  };
  using enum CurveInput;
  EXPECT_EQ((std::vector<int>{at(kCoolant), at(kAirTemperature), at(kAuxVolts),
                              at(kManifoldPressure), at(kEngineSpeed),
                              at(kBaroPressure)}),
            (std::vector<int>{340, 40, 240, 140, 340, 440}));
  // The EGO grid's pressure axis runs upwards.
  EXPECT_EQ(axis.PositionFor(rig.editor.marker(kManifoldPressure), 200, 100),
            175);

  const CurveAxes& axes = rig.editor.axes();
  EXPECT_EQ(axes.rows[0],
            (Labels{"-13", "3", "19", "35", "51", "67", "83", "99", "115"}));
  EXPECT_EQ(axes.rows[2],  // manifold pressure, 1 bar sensor
            (Labels{"10", "24", "38", "53", "67", "81", "96", "110", "125"}));
  EXPECT_EQ(axes.rows[5], axes.rows[2]);  // barometric pressure
  EXPECT_EQ(axes.rows[3], (Labels{"0", "1250", "2500", "3750", "5000", "6250",
                                  "7500", "8750", "10000"}));
  EXPECT_EQ(axes.rows[7], (Labels{"0.000", "0.413", "0.825", "1.238", "1.650",
                                  "2.063", "2.475", "2.888", "3.300"}));
  EXPECT_EQ(axes.ego_speed, (Labels{"0", "2500", "5000", "7500", "10000"}));
  EXPECT_EQ(axes.ego_pressure, (Labels{"10", "38", "67", "96", "125"}));

  // A 7 bar sensor and a 6000 rpm full scale, read on the next activation.
  rig.memory().SetScalar("MAP_TYPE", 2);
  rig.memory().SetScalar("FS_RPM", 6000);
  rig.editor.Activate();
  // 147 is 68.875 + 79; the barometric axis ends at 125 whatever the sensor.
  EXPECT_EQ((Texts{axes.rows[2][1], axes.rows[2][8], axes.rows[5][8],
                   axes.ego_speed[3]}),
            (Texts{"147", "630", "125", "4500"}));
}

TEST(CurveEditorTest, UpdateSendsPointByPointThenTheSetPoints) {
  CurveRig rig;
  rig.TakeRequests();
  const testing::CellEntries typed = {
      {{kEgoSetPoints, 0}, "1.6"}, {{kEgoSetPoints, 1}, "1.61"},
      {{kEgoSetPoints, 2}, "0.5"}, {{kEgoSetPoints, 3}, "0.49"},
      {{kRpmRetards, 2}, "-3"},    {{kCoolantGains, 2}, "5"},
      {{kIdleSpeeds, 1}, "2100"},  {{kIdleSpeeds, 0}, "800"},
      {{kAirGains, 0}, "1.25"},    {{kBaroGains, 0}, "1.5"}};
  rig.TypeAll(typed);
  rig.Key({kAuxGains, 5}, EditorKey::kEnter);
  EXPECT_EQ(
      rig.TakeRequests(),
      (Texts{ByteWrite(0x080, 80), ByteWrite(0x220, 192), ByteWrite(0x230, 100),
             ByteWrite(0x231, 255), ByteWrite(0x072, 255), ByteWrite(0x212, 0),
             ByteWrite(0x0D4, 63), ByteWrite(0x0D6, 202)}));
  EXPECT_EQ(
      rig.prompts.texts(),
      (Texts{"The value for an EGO Setpoint cell was too high, it will not "
             "be updated.",
             "The value for an EGO Setpoint cell was too low, it will not "
             "be updated."}));
  // The echoes show what the ECU keeps.
  EXPECT_EQ((Texts{rig.State(kCoolantGains, 2), rig.State(kRpmRetards, 2),
                   rig.State(kEgoSetPoints, 0), rig.State(kIdleSpeeds, 1),
                   rig.State(kEgoSetPoints, 1), rig.State(kEgoSetPoints, 3)}),
            (Texts{"3.984", ".000", "1.603", "2040", "1.61*", "0.49*"}));
  EXPECT_EQ(rig.memory().TableByte(0x0D5), 101);
}

// Each table refills with its own default; a "No" keeps what it holds.
TEST(CurveEditorTest, ResetFillsOneTableWithItsDefaultAndSendsNothing) {
  CurveRig rig;
  rig.TakeRequests();
  rig.prompts.QueueAnswer(Answer::kNo);
  rig.editor.RequestReset(kCoolantGains);
  EXPECT_EQ(rig.Cell(kCoolantGains, 0).text, "1.500");
  const std::pair<std::string_view, const char*> defaults[] = {
      {kCoolantGains, "1.000"}, {kAirGains, "1.000"}, {kMapRetards, "0.0"},
      {kRpmRetards, "0.0"},     {kAirRetards, "0.0"}, {kBaroGains, "1.000"},
      {kIdleSpeeds, "800"},     {kAuxGains, "1.000"}, {kEgoSetPoints, "1.000"}};
  for (const auto& [family, text] : defaults) {
    rig.prompts.QueueAnswer(Answer::kYes);
    rig.editor.RequestReset(family);
    EXPECT_EQ(rig.State(family, 8), text + std::string("*")) << family;
  }
  EXPECT_TRUE(rig.TakeRequests().empty());
}

TEST(CurveEditorTest, ArrowsLinkTheGainRowsAndTheGrid) {
  CurveRig rig;
  using enum EditorKey;
  EXPECT_EQ(rig.Move({kCoolantGains, 3}, kDown), (CellRef{kAirGains, 3}));
  EXPECT_EQ(rig.Move({kCoolantGains, 8}, kRight), (CellRef{kCoolantGains, 8}));
  EXPECT_EQ(rig.Move({kAirGains, 3}, kDown), (CellRef{kAuxGains, 3}));
  EXPECT_EQ(rig.Move({kAuxGains, 0}, kLeft), (CellRef{kAuxGains, 0}));
  EXPECT_EQ(rig.Move({kAuxGains, 7}, kDown), (CellRef{kEgoSetPoints, 4}));
  EXPECT_EQ(rig.Move({kEgoSetPoints, 4}, kUp), (CellRef{kEgoSetPoints, 5}));
  EXPECT_EQ(rig.Move({kEgoSetPoints, 23}, kUp), (CellRef{kAuxGains, 0}));
  EXPECT_EQ(rig.Move({kEgoSetPoints, 18}, kRight),
            (CellRef{kEgoSetPoints, 23}));
  // The missing top right cell is never reached.
  EXPECT_EQ(rig.Move({kEgoSetPoints, 19}, kRight),
            (CellRef{kEgoSetPoints, 19}));
  // The retards, baro gain and idle speeds leave arrows to the text.
  EXPECT_FALSE(rig.Key({kMapRetards, 3}, kDown).handled);
  EXPECT_FALSE(rig.Key({kIdleSpeeds, 3}, kUp, true).handled);
  EXPECT_EQ(rig.Cell(kIdleSpeeds, 3).text, "1200");
}

// "Supplimental Driver Mapping" over the virtual ECU, filled.
struct SupplementaryRig : CellsRig<SupplementaryEditor> {
  explicit SupplementaryRig(bool demo = false) : CellsRig(demo) {
    memory().SetScalar("SUPP_SRC", 0);
    memory().SetScalar("COOL_DEG", 246);
    memory().SetWord(0xA2 + 16, 16383);
    editor.Activate();
  }
  const SourceSelector& source() { return editor.source(); }
};

std::string DutyWrite(int k, int count) {
  return Command('x', 0xA2 + 2 * k, count & 0xFF, count >> 8);
}

TEST(SupplementaryEditorTest, FillReadsSourceThenPointsThenThreshold) {
  SupplementaryRig rig;
  Texts expected = {"[000"};
  for (int k = 0; k < kSupplementaryPoints; ++k) {
    expected.push_back(Command('X', 0xA2 + 2 * k, 0, 0));
  }
  // A read of its own pads its request as every read does.
  expected.push_back(std::string(1, static_cast<char>(153)) + "000");
  EXPECT_EQ(rig.TakeRequests(), expected);
  EXPECT_EQ(rig.Text(kDutyCells, 8), "100.00");
  EXPECT_EQ(rig.Text(kDutyCells, 0), "0.00");
  EXPECT_EQ(rig.State(kCoolantThreshold, 0), "-10");
  EXPECT_EQ(rig.source().selected, 0);
  EXPECT_EQ(rig.source().m_src, "0");
  EXPECT_THAT(rig.source().text_colours, Each(kBlack));
  EXPECT_EQ(rig.source().source_units, "MAP kPa");
  EXPECT_EQ(rig.source().labels,
            (Labels{"10", "24", "38", "53", "67", "81", "96", "110", "125"}));
  EXPECT_TRUE(rig.editor.cells().enabled());
}

TEST(SupplementaryEditorTest, UpdateSendsPointsThenTheLastSourceThenThreshold) {
  SupplementaryRig rig;
  rig.TakeRequests();
  rig.Type({kCoolantThreshold, 0}, "-10.4");
  rig.editor.ChooseSource(2);
  rig.editor.ChooseSource(3);
  rig.Type({kDutyCells, 4}, "150");
  rig.Type({kDutyCells, 1}, "100");
  rig.Type({kDutyCells, 2}, "-5");
  rig.Type({kDutyCells, 3}, "12.5");
  // Only the last choice carries the mark.
  const std::array<Rgb, kSourceCount>& colours = rig.source().text_colours;
  EXPECT_THAT(colours,
              ElementsAre(kBlack, kBlack, kBlack, kYellow, kBlack, kBlack));
  EXPECT_EQ(rig.source().m_src, "3");
  rig.editor.KeyPressed({kDutyCells, 0}, {.key = EditorKey::kEnter});
  EXPECT_EQ(rig.TakeRequests(),
            (Texts{DutyWrite(1, 16383), DutyWrite(2, 0), DutyWrite(3, 2048),
                   DutyWrite(4, 16383), Command(']', 3, 0, 0),
                   Command(154, 246, 0, 0)}));
  EXPECT_TRUE(rig.prompts.shown().empty());
  // The echoes confirm each of them.
  EXPECT_EQ(rig.Text(kDutyCells, 4), "100.00");
  EXPECT_EQ(rig.State(kCoolantThreshold, 0), "-10");
  EXPECT_EQ(rig.source().selected, 3);
  EXPECT_THAT(colours, Each(kBlack));
  EXPECT_EQ(rig.memory().Scalar("SUPP_SRC"), 3);
  // A threshold beyond a signed byte is refused.
  for (const std::string text : {"128", "-129", "127.6"}) {
    rig.prompts.Clear();
    EXPECT_TRUE(rig.Sent({{{kCoolantThreshold, 0}, text}}).empty()) << text;
    EXPECT_EQ(rig.prompts.texts(), Texts{"The value for the Coolant Threshold "
                                         "is out of range, it will not be "
                                         "updated"});
    EXPECT_EQ(rig.State(kCoolantThreshold, 0), text + "*");
  }
  EXPECT_EQ(rig.Sent({{{kCoolantThreshold, 0}, "-128"}}),
            Texts{Command(154, 128, 0, 0)});
  EXPECT_EQ(rig.State(kCoolantThreshold, 0), "-128");
}

TEST(SupplementaryEditorTest, AnUnreadSourceIsNeverWritten) {
  // The ECU knows the duty points but not the source or threshold.
  CellsRig<SupplementaryEditor> rig;
  rig.answered = {'X', 'x'};
  rig.editor.Activate();
  EXPECT_THAT(rig.editor.source().text_colours, Each(kYellow));
  EXPECT_FALSE(rig.editor.source().selected.has_value());
  EXPECT_EQ(rig.editor.source().m_src, "4");
  EXPECT_EQ(rig.editor.source().source_units, "No Map Source");
  rig.TakeRequests();
  rig.prompts.Clear();
  EXPECT_EQ(rig.Sent({{{kDutyCells, 0}, "50"}}), Texts{DutyWrite(0, 8192)});
  EXPECT_TRUE(rig.prompts.shown().empty());
}

// Each source names its axis and moves the pointer with its live value.
TEST(SupplementaryEditorTest, AxisAndPointerFollowTheChosenSource) {
  SupplementaryRig rig;
  LiveData& live = rig.ctx.live;
  live.MAP = 96.25f;  // three quarters of 115 kPa above 10
  live.TPS = 25;
  live.RPM = 5000;
  live.AuxVolts = 3.3f;
  const AxisPointer axis;
  auto at = [&] {
    rig.editor.AfterPollingPass();
    return axis.PositionFor(*rig.editor.pointer(), 300, 100);
  };
  EXPECT_FALSE(rig.editor.pointer().has_value());
  EXPECT_EQ(at(), 150);
  rig.editor.ChooseSource(1);
  EXPECT_EQ(rig.source().labels,
            (Labels{"0", "12", "25", "37", "50", "62", "75", "87", "100"}));
  EXPECT_EQ(rig.source().source_units, "TPS %");
  EXPECT_EQ(at(), 250);
  rig.editor.ChooseSource(2);
  EXPECT_EQ(rig.source().labels[3], "3750");
  EXPECT_EQ(rig.source().source_units, "RPM");
  EXPECT_EQ(at(), 200);
  rig.editor.ChooseSource(3);
  EXPECT_EQ(rig.source().source_units, "AUX Volts %5v");
  EXPECT_EQ(at(), 100);
  // Without a map the pointer stays where it was.
  rig.editor.ChooseSource(5);
  EXPECT_EQ(rig.source().labels, Labels(9, "0"));
  EXPECT_EQ(rig.source().source_units, "No Map Source");
  live.AuxVolts = 0;
  EXPECT_EQ(at(), 100);
}

}  // namespace
}  // namespace ecu

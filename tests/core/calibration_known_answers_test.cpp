// The ECU and the virtual ECU share the catalogue, so a wrong code, length
// or key passes every round trip. These answers are written out by hand from
// the protocol's tables, never taken from the catalogue.
#include <gtest/gtest.h>

#include <string>

#include "core/calibration/catalogue.h"
#include "core/calibration/setup_file_format.h"
#include "core/link/frame.h"
#include "sim/virtual_ecu.h"
#include "support/wire_bytes.h"

namespace ecu {
namespace {

using testing::Ask;
using testing::Bytes;

// An item: its setup line (the key field, then a value), the command field
// of its read and the read's reply length, the command field that line sends
// and the echo's reply length. Two-byte values are 0x1234, one-byte 0xAB.
struct KnownItem {
  const char* line;
  std::string read;
  int read_length;
  std::string write;
  int write_length;
};

constexpr int kZ = 0x30;  // '0', the filler of a command without arguments

std::string Own(int code) { return Bytes({code, kZ, kZ, kZ}); }
std::string Word(int code) { return Bytes({code, 0x34, 0x12, 0}); }
std::string Byte(int code) { return Bytes({code, 0xAB, 0, 0}); }

const KnownItem kScalars[] = {
    {"ACC_SEN = 4660", Own(0x43), 21, Word('g'), 5},
    {"ACC_RATE= 4660", Own(0x43), 21, Word('f'), 5},
    {"ACC_MINP= 4660", Own(0x42), 12, Word('h'), 5},
    {"ACC_MAXP= 4660", Own(0x42), 12, Word(' '), 5},
    {"EGO_CUT = 4660", Own('@'), 5, Word('='), 5},
    {"MIN_PRES= 4660", Own(0x43), 21, Word('p'), 5},
    {"PH_2_REC= 171", Own(0x43), 21, Byte(129), 4},
    {"TRGS_PH = 171", Own(0x43), 21, Byte(123), 4},
    {"TRGS_REV= 171", Own(0x43), 21, Byte(126), 4},
    {"BAT_COMP= 171", Own(0x42), 12, Byte(131), 4},
    {"FS_RPM  = 4660", Own(0x43), 21, Word(125), 5},
    {"KILL_RPM= 4660", Own(0x43), 21, Word('i'), 5},
    {"HOT_P_PW= 4660", Own('S'), 5, Word('s'), 5},
    {"HOT_#P  = 171", Own('T'), 4, Byte('t'), 4},
    {"CLD_P_PW= 4660", Own('U'), 5, Word('u'), 5},
    {"CLD_#P  = 171", Own('V'), 4, Byte('v'), 4},
    {"TMP_THRS= 171", Own('W'), 4, Byte('w'), 4},
    {"EGO_RATE= 171", Own(0x43), 21, Byte('c'), 4},
    {"EGO_GAIN= 171", Own('!'), 4, Byte('?'), 4},
    {"EGO_SECS= 4660", Own(0x43), 21, Word('b'), 5},
    {"EGO_A_LO= 171", Own('%'), 4, Byte('<'), 4},
    {"EGO_A_HI= 171", Own('^'), 4, Byte('>'), 4},
    {"OPTIONS = 171", Own(0x43), 21, Byte('|'), 4},
    {"MAP_TYPE= 171", Own(0x43), 21, Byte(130), 4},
    {"FUEL_B  = 4660", Own(0x42), 12, Word('o'), 5},
    {"FUEL_MX = 4660", Own(0x42), 12, Word('m'), 5},
    {"TPS_RPM = 4660", Own('Z'), 5, Word('z'), 5},
    {"SUPP_SRC= 171", Own('['), 4, Byte(']'), 4},
    {"COOL_DEG= -85", Own(153), 4, Byte(154), 4},  // degrees; -85 is 0xAB
    {"IAC_CLOS= 4660", Own(132), 5, Word(133), 5},
    {"IAC_OPEN= 4660", Own(134), 5, Word(135), 5},
    {"IAC_TPSE= 4660", Own(136), 5, Word(137), 5},
    {"IAC_TPSC= 4660", Own(138), 5, Word(139), 5},
    {"IAC_MAXR= 4660", Own(140), 5, Word(141), 5},
    {"IAC_ERRR= 4660", Own(142), 5, Word(143), 5},
    {"IAC_DEAD= 171", Own(144), 4, Byte(145), 4},
    {"IGN_FIRE= 4660", Own(146), 5, Word(147), 5},
    {"IGN_TDWL= 4660", Own(148), 5, Word(149), 5},
    {"IGN_PCNT= 171", Own(150), 4, Byte(151), 4},
    {"EGO_FLGS= 171", Own(208), 6, Byte(209), 4},
    {"EGO_WBV0= 171", Own(208), 6, Byte(210), 4},
    {"EGO_WBV1= 171", Own(208), 6, Byte(211), 4},
    {"TPS_BASE= 171", Own(212), 5, Byte(213), 4},
    {"TPS_FS_V= 171", Own(212), 5, Byte(214), 4},
    {"TPS_EGOD= 171", Own(227), 4, Byte(228), 4},
    {"TPS_DECL= 171", Own(229), 4, Byte(230), 4},
    {"MNRPMEGO= 4660", Own(231), 5, Word(232), 5},
    {"MNRPMDCL= 4660", Own(233), 5, Word(234), 5},
};

// The last element of each table: where its range ends.
const KnownItem kTableEnds[] = {
    {"MAPM[255]=171", Bytes({'E', 0xFF, 0x01, 0}), 6,
     Bytes({'e', 0xFF, 0x01, 0xAB}), 6},
    {"PTBL[007]=171", Own(127), 11, Bytes({128, 7, 0xAB, 0}), 5},
    {"EGOM[023]=171", Bytes({'E', 0xEB, 0, 0}), 6, Bytes({'e', 0xEB, 0, 0xAB}),
     6},
    {"SUPM[008]=4660", Bytes({'X', 0xB2, 0, 0}), 6,
     Bytes({'x', 0xB2, 0x34, 0x12}), 6},
    {"TPSM[008]=4660", Bytes({'X', 0xC4, 0, 0}), 6,
     Bytes({'x', 0xC4, 0x34, 0x12}), 6},
    {"TPSP[008]=171", Bytes({'E', 0xCE, 0, 0}), 6, Bytes({'e', 0xCE, 0, 0xAB}),
     6},
    {"CLTM[008]=171", Bytes({'E', 0x78, 0, 0}), 6, Bytes({'e', 0x78, 0, 0xAB}),
     6},
    {"MATM[008]=171", Bytes({'E', 0x88, 0, 0}), 6, Bytes({'e', 0x88, 0, 0xAB}),
     6},
    {"AUXM[008]=171", Bytes({'E', 0x98, 0, 0}), 6, Bytes({'e', 0x98, 0, 0xAB}),
     6},
    {"IGNM[008]=171", Bytes({'E', 0x08, 2, 0}), 6, Bytes({'e', 0x08, 2, 0xAB}),
     6},
    {"IGNR[008]=171", Bytes({'E', 0x18, 2, 0}), 6, Bytes({'e', 0x18, 2, 0xAB}),
     6},
    {"IGNT[008]=171", Bytes({'E', 0x48, 2, 0}), 6, Bytes({'e', 0x48, 2, 0xAB}),
     6},
    {"BARG[008]=171", Bytes({'E', 0x28, 2, 0}), 6, Bytes({'e', 0x28, 2, 0xAB}),
     6},
    {"IDLE[008]=171", Bytes({'E', 0x38, 2, 0}), 6, Bytes({'e', 0x38, 2, 0xAB}),
     6},
};

int ValueOf(const KnownItem& known) {
  return std::stoi(std::string(known.line).substr(10));
}

// What the loader sends for the line, and what the virtual ECU answers to
// the read and to that write: a reply of the known length.
void ExpectLineAndReplies(sim::VirtualEcu& ecu, const KnownItem& known) {
  const SetupLineRequest request = ParseSetupLine(known.line);
  EXPECT_EQ(request.action, SetupLineRequest::Action::kSend);
  EXPECT_EQ(CommandField(request.command), known.write);
  EXPECT_EQ(Ask(ecu, known.read).size(), known.read_length + 2u);
  EXPECT_EQ(Ask(ecu, known.write).size(), known.write_length + 2u);
}

TEST(KnownAnswersTest, EveryScalarReadsWritesAndSavesAsTheProtocolSays) {
  sim::VirtualEcu ecu{sim::SimOptions{}};
  EXPECT_EQ(AllScalars().size(), std::size(kScalars));
  for (const KnownItem& known : kScalars) {
    const std::string key = std::string(known.line).substr(0, 8);
    SCOPED_TRACE(known.line);
    const ScalarItem* item = FindScalar(key.substr(0, key.find(' ')));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(CommandField(ScalarReadCommand(*item)), known.read);
    EXPECT_EQ(item->read_length, known.read_length);
    EXPECT_EQ(CommandField(ScalarWriteCommand(*item, ValueOf(known))),
              known.write);
    EXPECT_EQ(item->write_length, known.write_length);
    EXPECT_EQ(ScalarLine(*item, ValueOf(known)), known.line);
    ExpectLineAndReplies(ecu, known);
  }
}

TEST(KnownAnswersTest, TheLastElementOfEveryTable) {
  sim::VirtualEcu ecu{sim::SimOptions{}};
  EXPECT_EQ(AllTables().size(), std::size(kTableEnds));
  for (const KnownItem& known : kTableEnds) {
    SCOPED_TRACE(known.line);
    const TableItem* table = FindTable(std::string(known.line).substr(0, 4));
    ASSERT_NE(table, nullptr);
    const int last = std::stoi(std::string(known.line).substr(5, 3));
    EXPECT_EQ(table->count, last + 1);
    EXPECT_EQ(CommandField(CellReadCommand(*table, last)), known.read);
    EXPECT_EQ(CommandField(CellWriteCommand(*table, last, ValueOf(known))),
              known.write);
    EXPECT_EQ(CellReplyLength(*table), known.write_length);
    EXPECT_EQ(TableLine(*table, last, ValueOf(known)), known.line);
    ExpectLineAndReplies(ecu, known);
  }
}

}  // namespace
}  // namespace ecu

#ifndef ECU_CORE_CALIBRATION_CATALOGUE_H_
#define ECU_CORE_CALIBRATION_CATALOGUE_H_

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/calibration/entry_limits.h"
#include "core/calibration/scaling.h"

namespace ecu {

// The windows whose fields show calibration items.
inline constexpr std::string_view kFuelMapWindow = "frm_3d";
inline constexpr std::string_view kCurveWindow = "frm_2d";
inline constexpr std::string_view kSupplementaryWindow = "frm_sup";
inline constexpr std::string_view kConfigurationWindow = "frm_tool";
inline constexpr std::string_view kDashboardWindow = "frm_dashboard";

// A control that shows an item: window, control name, the element of a
// control array (kNoIndex for a single control) and, for a check box or
// option that shows one bit of the raw count, that bit (kWholeValue else).
inline constexpr int kNoIndex = -1;
inline constexpr int kWholeValue = -1;
struct FieldRef {
  std::string_view window;
  std::string_view field;
  int index = kNoIndex;
  int bit = kWholeValue;
};

// The table cell commands. One-byte cells sit at a 16-bit address, two-byte
// cells at a one-byte address (the cell takes that address and the next),
// and the phase table has its own pair of codes.
inline constexpr uint8_t kReadByteCell = 'E';
inline constexpr uint8_t kWriteByteCell = 'e';
inline constexpr uint8_t kReadWordCell = 'X';
inline constexpr uint8_t kWriteWordCell = 'x';
inline constexpr uint8_t kReadPhaseTable = 127;
inline constexpr uint8_t kWritePhaseCell = 128;
inline constexpr int kCellReplyLength = 6;
inline constexpr int kPhaseTableReplyLength = 11;
inline constexpr int kPhaseCellReplyLength = 5;

// The throttle captures: the ECU takes the present throttle reading as the
// closed (215) or open (216) end point and echoes it as TPS_BASE / TPS_FS_V.
inline constexpr uint8_t kCaptureTpsClosed = 215;
inline constexpr uint8_t kCaptureTpsOpen = 216;
inline constexpr int kCaptureReplyLength = 4;

// The configuration block: full scale, MAP sensor and the other engine
// constants. Windows that scale by them read it first.
inline constexpr uint8_t kConfigurationBlock = 'C';

// One scalar constant. Items read through a block carry the block's code
// and reply length as their read, and their byte position in it.
struct ScalarItem {
  std::string_view key;   // setup-file key, e.g. "ACC_SEN"
  uint8_t read_code = 0;  // own read, or "B", "C", 208, 212
  int block_offset = 0;   // value's first byte in the block; 0: own
  int read_length = 0;    // N of the read's reply
  uint8_t write_code = 0;
  int write_length = 0;        // N of the write's echo
  int width = 1;               // bytes sent by the write
  bool is_signed = false;      // a two's complement byte (degrees C)
  bool holder_signed = false;  // the image and the setup file keep the
                               // signed number rather than the byte
  bool echo_sets_holder = true;
  Scaling scaling = Scaling::kRaw;
  std::string_view format;  // display pattern; empty: plain integer
  EntryLimits limits;
  std::string_view demo_text;      // shown by the editor in demo mode
  std::array<FieldRef, 4> fields;  // unused entries have an empty field
};

enum class CellKind { kByteCell, kWordCell, kPhaseCell };

// One table. Element i of a byte table sits at first_address + i, of a word
// table at first_address + 2i; the phase table is addressed by its index.
struct TableItem {
  std::string_view key;  // "MAPM"
  int count = 0;
  CellKind cells = CellKind::kByteCell;
  int first_address = 0;
  Scaling scaling = Scaling::kRaw;
  std::string_view format;
  EntryLimits limits;
  std::string_view reset_text;  // the editor's reset default; empty: none
  std::string_view demo_text;
  FieldRef field;  // the cell array; element i shows index i
};

// A configuration block: one read that fills several scalar holders.
struct ReadBlock {
  uint8_t code;
  int length;
};

std::span<const ScalarItem> AllScalars();
std::span<const TableItem> AllTables();
std::span<const ReadBlock> AllBlocks();

// Lookups by setup key (exact, case included); nullptr when unknown.
const ScalarItem* FindScalar(std::string_view key);
const TableItem* FindTable(std::string_view key);
// The scalar whose write echoes with `code`, or whose own read is `code`.
const ScalarItem* ScalarForWriteCode(uint8_t code);
const ScalarItem* ScalarForOwnReadCode(uint8_t code);
// Position of an item in AllScalars(), for holders kept by index.
int ScalarIndex(const ScalarItem& item);

bool HasOwnRead(const ScalarItem& item);
// The scalars a block delivers, in their order in AllScalars().
template <typename Visit>
void ForEachItemOfBlock(uint8_t block_code, Visit visit) {
  for (const ScalarItem& item : AllScalars()) {
    if (!HasOwnRead(item) && item.read_code == block_code) visit(item);
  }
}

// Table cells: the address of element i, the read and write codes and the
// reply length of one cell.
int AddressOf(const TableItem& table, int index);
int WidthOf(const TableItem& table);
uint8_t ReadCodeOf(const TableItem& table);
uint8_t WriteCodeOf(const TableItem& table);
int CellReplyLength(const TableItem& table);
// The requests that read element i of a table and write a raw count to it
// (the phase table is read whole), and the write of a scalar constant.
std::string CellReadCommand(const TableItem& table, int index);
std::string CellWriteCommand(const TableItem& table, int index, int raw);
std::string ScalarWriteCommand(const ScalarItem& item, int raw);
// The read of a scalar: its own, or its block's.
std::string ScalarReadCommand(const ScalarItem& item);
// The setup file's key field of a table line: "MAPM[012]=".
std::string TableFileField(const TableItem& table, int index);
// The setup file's key field of a scalar line: the key padded to eight,
// "ACC_SEN = ".
std::string ScalarFileField(const ScalarItem& item);

// The table cell a reply to "E"/"e" (code kReadByteCell) or "X"/"x" (code
// kReadWordCell) addresses. A word address between two cells is taken to the
// nearest cell, halves to even: 0xB5 is TPSM element 0. Nothing when the
// address lies in no table's range.
struct TableCell {
  const TableItem* table;
  int index;
};
std::optional<TableCell> TableForAddress(uint8_t read_code, int address);

// The numbers that fit an item on the wire: 0..255 or 0..65535. A signed
// byte takes both spellings of its byte, -128..255: -13 and 243 both go out
// as 0xF3.
struct ItemRange {
  int32_t min;
  int32_t max;
};
ItemRange RangeOf(const ScalarItem& item);
ItemRange RangeOf(const TableItem& table);

}  // namespace ecu

#endif  // ECU_CORE_CALIBRATION_CATALOGUE_H_

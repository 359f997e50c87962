#ifndef ECU_CORE_CALIBRATION_SETUP_FILE_FORMAT_H_
#define ECU_CORE_CALIBRATION_SETUP_FILE_FORMAT_H_

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "core/calibration/catalogue.h"

namespace ecu {

// A setup file has 49 scalar lines (BAT_COMP twice) followed by every table
// element, 436 lines of raw ECU values, each ended by CR LF.
inline constexpr std::string_view kSetupLineEnd = "\r\n";

// The keys of the scalar lines in the order a file is written.
std::span<const std::string_view> SetupScalarOrder();

// "ACC_SEN = 123" and "MAPM[012]=160", without the line end.
std::string ScalarLine(const ScalarItem& item, int32_t value);
std::string TableLine(const TableItem& table, int index, int32_t value);

// A whole setup file as a save writes it: the scalar lines in their order
// (BAT_COMP twice), then every table element, each line ended by CR LF.
// `scalar` and `element` give the number the file keeps for each.
std::string SetupFileTextOf(
    const std::function<int32_t(const ScalarItem&)>& scalar,
    const std::function<int32_t(const TableItem&, int index)>& element);

// One line of a setup file as read: the item it names and its value, or why
// it names none. The loader turns it into a write; the compare into a value.
struct SetupLine {
  enum class Kind {
    kScalar,         // `scalar` = `value`
    kTableElement,   // element `index` of `table` = `value`
    kBlank,          // nothing to do: a blank line
    kTableKeyAlone,  // a table key without "[": skipped, as always
    kUnknownKey,
    kIndexOutside,  // a table index beyond the table
    kValueTooWide,  // a value that does not fit the item on the wire
    kNoValue,       // no digit in the value field ("FUEL_MX = ")
  };
  Kind kind = Kind::kUnknownKey;
  const ScalarItem* scalar = nullptr;
  const TableItem* table = nullptr;
  int index = 0;
  int32_t value = 0;
};

// Reads a line as the loader does: five spaces appended; the key is the
// first eight characters less trailing spaces, the value the number after
// the tenth character, taken to the nearest integer with halves to even. A
// line with "[" names a table element: key in the first four characters,
// index in the sixth to eighth. Keys compare exactly, case included. A line
// whose index lies outside its table, whose value field holds no digit (it
// would be read as 0, and a full scale of 0 breaks every later conversion)
// or whose value does not fit the item on the wire (ItemRange) names no
// item. A leading number followed by other text keeps the lenient reading.
SetupLine ReadSetupLine(std::string_view line);

// Why a line names no item, in a few words for a list of problems; empty
// for a line that names one or is skipped.
std::string_view SetupLineProblem(SetupLine::Kind kind);

// What one line of a setup file asks of the loader.
struct SetupLineRequest {
  enum class Action {
    kSend,    // send `command`
    kSkip,    // nothing to do: a blank line, or a table key without "["
    kRefuse,  // an unknown key, or a line the writer never makes
  };
  Action action = Action::kRefuse;
  std::string command;
  std::string_view problem;  // why a refused line is refused
};

// The write a line asks for (ReadSetupLine). A line that names no item is
// refused rather than sent cut down.
SetupLineRequest ParseSetupLine(std::string_view line);

}  // namespace ecu

#endif  // ECU_CORE_CALIBRATION_SETUP_FILE_FORMAT_H_

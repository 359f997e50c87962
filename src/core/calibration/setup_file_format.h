#ifndef ECU_CORE_CALIBRATION_SETUP_FILE_FORMAT_H_
#define ECU_CORE_CALIBRATION_SETUP_FILE_FORMAT_H_

#include <cstdint>
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

// What one line of a setup file asks of the loader.
struct SetupLineRequest {
  enum class Action {
    kSend,    // send `command`, expecting a reply of `reply_length`
    kSkip,    // nothing to do: a blank line, or a table key without "["
    kRefuse,  // an unknown key, or a line the writer never makes
  };
  Action action = Action::kRefuse;
  std::string command;
  int reply_length = 0;
};

// Reads a line as the loader does: five spaces appended; the key is the
// first eight characters less trailing spaces, the value the number after
// the tenth character, taken to the nearest integer with halves to even. A
// line with "[" names a table element: key in the first four characters,
// index in the sixth to eighth. Keys compare exactly, case included. A line
// whose index lies outside its table, or whose value does not fit the item
// on the wire (ItemRange), is refused rather than sent cut down.
SetupLineRequest ParseSetupLine(std::string_view line);

}  // namespace ecu

#endif  // ECU_CORE_CALIBRATION_SETUP_FILE_FORMAT_H_

// Whole setup files of any bytes, loaded through the loader into the
// virtual ECU. Every frame the loader writes must change a real item with
// a value that fits it on the wire, and be the value its line states.

#include <string>
#include <string_view>
#include <vector>

#include "core/calibration/catalogue.h"
#include "core/calibration/setup_file_reader.h"
#include "core/ecu_context.h"
#include "core/numbers/leading_number.h"
#include "core/numbers/rounding.h"
#include "fuzz/fuzz_support.h"
#include "support/counting_pump.h"
#include "support/fake_clock.h"
#include "support/scripted_prompts.h"
#include "support/virtual_line_port.h"

namespace ecu::fuzz {
namespace {

// A line as the writer lays it out: the value from the eleventh column,
// a table's index in the sixth to eighth.
int64_t NumberAt(const std::string& line, size_t column, size_t width) {
  const std::string padded = line + "     ";
  if (padded.size() <= column) return 0;
  return RoundHalfEven(
      LeadingNumber(std::string_view(padded).substr(column, width)));
}

bool StartsWith(const std::string& line, std::string_view key) {
  return line.compare(0, key.size(), key) == 0;
}

// The file's lines as a text editor shows them: CR LF, LF or a lone CR
// ends a line.
std::vector<std::string> LinesOf(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    start = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
  }
  return lines;
}

// Checks one write frame against the line it came from.
void CheckWrite(const std::string& frame, const std::string& line) {
  const uint8_t code = static_cast<uint8_t>(frame[2]);
  const int a1 = static_cast<uint8_t>(frame[3]);
  const int a2 = static_cast<uint8_t>(frame[4]);
  const int a3 = static_cast<uint8_t>(frame[5]);
  const int64_t stated = NumberAt(line, 10, std::string::npos);
  int sent = 0;
  ItemRange range{};
  if (code == kWriteByteCell || code == kWriteWordCell) {
    const bool word = code == kWriteWordCell;
    const int address = word ? a1 : a1 + 256 * a2;
    const auto cell =
        TableForAddress(word ? kReadWordCell : kReadByteCell, address);
    Require(cell && AddressOf(*cell->table, cell->index) == address,
            "a cell write to an address of no element: " + line);
    Require(StartsWith(line, cell->table->key) &&
                cell->index == NumberAt(line, 5, 3),
            "a cell write to another element than its line names: " + line);
    range = RangeOf(*cell->table);
    sent = word ? a2 + 256 * a3 : a3;
  } else if (code == kWritePhaseCell) {
    const TableItem* phases = FindTable("PTBL");
    Require(a1 < phases->count && a3 == 0 && StartsWith(line, "PTBL") &&
                a1 == NumberAt(line, 5, 3),
            "a phase write to another element than its line names: " + line);
    range = RangeOf(*phases);
    sent = a2;
  } else {
    const ScalarItem* item = ScalarForWriteCode(code);
    Require(item != nullptr, "a write with a code of no item: " + line);
    Require(StartsWith(line, item->key),
            "a write to another item than its line names: " + line);
    range = RangeOf(*item);
    if (item->width == 2) {
      Require(a3 == 0, "a two-byte write with a third byte: " + line);
      sent = a1 + 256 * a2;
    } else {
      Require(a2 == 0 && a3 == 0, "a one-byte write with more bytes: " + line);
      sent = a1;
    }
  }
  Require(stated >= range.min && stated <= range.max,
          "a value that does not fit its item was sent: " + line);
  Require(sent == (stated < 0 ? stated + 256 : stated),
          "the value sent is not the line's: " + line);
}

}  // namespace
}  // namespace ecu::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ecu;
  using namespace ecu::fuzz;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string path = WriteScratchFile("fuzz.SET", text);
  const std::vector<std::string> lines = LinesOf(text);

  testing::FakeClock clock;
  testing::VirtualLinePort port(clock, sim::SimOptions{});
  testing::ScriptedPrompts prompts;
  testing::CountingPump pump;
  EcuContext ctx(port, clock, prompts, pump);
  ctx.link_state.port_device = "/dev/virtual";
  ctx.link.EnsureLink();

  // Frames written from the start of each line on.
  std::vector<size_t> line_starts;
  SetupFileReader reader(ctx.link, [&](int done, int total) {
    Require(total == static_cast<int>(lines.size()),
            "the loader counts another number of lines");
    if (done < total && done == static_cast<int>(line_starts.size())) {
      line_starts.push_back(port.written().size());
    }
  });
  const SetupFileReport report = reader.load(path);
  Require(report.file_ok, "a file that exists could not be read");
  Require(report.lines == static_cast<int>(lines.size()),
          "the loader read another number of lines");
  line_starts.push_back(port.written().size());
  for (size_t i = 0; i + 1 < line_starts.size(); ++i) {
    for (size_t f = line_starts[i]; f < line_starts[i + 1]; ++f) {
      CheckWrite(port.written()[f], lines[i]);
    }
  }
  return 0;
}

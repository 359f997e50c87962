#include "core/workbench/calibration_snapshot.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/calibration/setup_file_format.h"
#include "core/text_file.h"

namespace ecu {
namespace {

// A setup file has 436 short lines, about 6 KiB; a file beyond this is
// something else picked by mistake.
constexpr std::streamoff kLargestSetupFile = 1 << 20;

size_t TableIndex(const TableItem& table) {
  return static_cast<size_t>(&table - AllTables().data());
}

std::string Shortened(std::string_view line) {
  constexpr size_t kShown = 40;
  return line.size() > kShown ? std::string(line.substr(0, kShown)) + "..."
                              : std::string(line);
}

}  // namespace

CalibrationSnapshot::CalibrationSnapshot()
    : scalars_(AllScalars().size()), tables_(AllTables().size()) {
  for (const TableItem& table : AllTables()) {
    tables_[TableIndex(table)].resize(static_cast<size_t>(table.count));
  }
}

std::optional<int32_t> CalibrationSnapshot::scalar(
    const ScalarItem& item) const {
  return scalars_[static_cast<size_t>(ScalarIndex(item))];
}

void CalibrationSnapshot::set_scalar(const ScalarItem& item, int32_t raw) {
  scalars_[static_cast<size_t>(ScalarIndex(item))] = raw;
}

std::optional<int32_t> CalibrationSnapshot::element(const TableItem& table,
                                                    int index) const {
  const auto& cells = tables_[TableIndex(table)];
  if (index < 0 || static_cast<size_t>(index) >= cells.size()) {
    return std::nullopt;
  }
  return cells[static_cast<size_t>(index)];
}

void CalibrationSnapshot::set_element(const TableItem& table, int index,
                                      int32_t raw) {
  auto& cells = tables_[TableIndex(table)];
  if (index < 0 || static_cast<size_t>(index) >= cells.size()) return;
  cells[static_cast<size_t>(index)] = raw;
}

LiveData CalibrationSnapshot::Scale(const LiveData& fallback) const {
  LiveData scale = fallback;
  if (const std::optional<int32_t> rpm = scalar(*FindScalar("FS_RPM"))) {
    ApplyFullScaleRpm(*rpm, scale);
  }
  if (const std::optional<int32_t> type = scalar(*FindScalar("MAP_TYPE"))) {
    const MapSensorScale sensor = MapSensorScaleFor(*type);
    scale.MapSpan = sensor.span;
    scale.MapOffset = sensor.offset;
  }
  return scale;
}

int CalibrationSnapshot::UnknownCount() const {
  int unknown = 0;
  for (const auto& value : scalars_) unknown += value ? 0 : 1;
  for (const auto& cells : tables_) {
    for (const auto& value : cells) unknown += value ? 0 : 1;
  }
  return unknown;
}

CalibrationSnapshot SnapshotOfSetupText(std::string_view text) {
  CalibrationSnapshot snapshot;
  int number = 0;
  size_t start = 0;
  while (start < text.size()) {
    const TextLine next = LineAt(text, start);
    const std::string_view line = next.text;
    start = next.next;
    ++number;
    const SetupLine read = ReadSetupLine(line);
    switch (read.kind) {
      case SetupLine::Kind::kScalar:
        snapshot.set_scalar(*read.scalar, read.value);
        break;
      case SetupLine::Kind::kTableElement:
        snapshot.set_element(*read.table, read.index, read.value);
        break;
      case SetupLine::Kind::kBlank:
      case SetupLine::Kind::kTableKeyAlone:
        break;
      default:
        snapshot.problems.push_back(
            {number, std::string(SetupLineProblem(read.kind)) + ": \"" +
                         Shortened(line) + "\""});
        break;
    }
  }
  return snapshot;
}

CalibrationSnapshot SnapshotOfSetupFile(const std::string& path) {
  CalibrationSnapshot snapshot;
  std::error_code error;
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  // A folder opens on some systems, and reads as nothing.
  if (!std::filesystem::is_regular_file(path, error) || !in) {
    snapshot.source = path;
    snapshot.trouble = "The setup file " + path + " could not be read.";
    return snapshot;
  }
  if (in.tellg() > kLargestSetupFile) {
    snapshot.source = path;
    snapshot.trouble = "The file " + path +
                       " is far larger than a setup file; nothing was read.";
    return snapshot;
  }
  in.seekg(0);
  std::stringstream text;
  text << in.rdbuf();
  if (in.bad()) {
    snapshot.source = path;
    snapshot.trouble = "The setup file " + path + " could not be read.";
    return snapshot;
  }
  snapshot = SnapshotOfSetupText(text.str());
  snapshot.source = path;
  return snapshot;
}

}  // namespace ecu

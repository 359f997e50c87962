#include "core/advisor/calibration_for_advice.h"

#include <algorithm>

#include "core/calibration/catalogue.h"
#include "core/calibration/scaling.h"
#include "core/calibration/setup_file_format.h"
#include "core/text_file.h"

namespace ecu {
namespace {

const TableItem& Map() { return *FindTable("MAPM"); }

// The changed cells' new raw counts.
std::optional<int32_t> AdvisedRaw(const Advice& advice, int index) {
  const CellAdvice& cell = advice.cells[static_cast<size_t>(index)];
  if (!cell.changes() || !cell.proposed) return std::nullopt;
  return MapRaw(*cell.proposed);
}

}  // namespace

CalibrationForAdvice ForAdvice(const CalibrationSnapshot& calibration) {
  CalibrationForAdvice out;
  const LiveData no_scale;
  for (int i = 0; i < kMapCellCount; ++i) {
    if (const auto raw = calibration.element(Map(), i)) {
      out.map[static_cast<size_t>(i)] =
          RawToValue(Map().scaling, *raw, no_scale);
    }
  }
  const TableItem& grid = *FindTable("EGOM");
  for (int i = 0; i < kEgoSetPointCount; ++i) {
    if (const auto raw = calibration.element(grid, i)) {
      out.ego_grid[static_cast<size_t>(i)] =
          RawToValue(grid.scaling, *raw, no_scale);
    }
  }
  const auto full_scale = calibration.scalar(*FindScalar("FS_RPM"));
  const auto map_type = calibration.scalar(*FindScalar("MAP_TYPE"));
  const auto options = calibration.scalar(*FindScalar("OPTIONS"));
  if (full_scale && map_type) {
    const MapSensorScale sensor = MapSensorScaleFor(*map_type);
    out.axes = MapAxes{static_cast<double>(*full_scale), sensor.span,
                       sensor.offset, options && (*options & 1) != 0};
  }
  out.load_known = options.has_value();
  return out;
}

int32_t MapRaw(double gain) {
  return static_cast<int32_t>(ValueToRaw(Map().scaling, gain, LiveData()));
}

std::string WithAdvisedMap(std::string_view setup_text, const Advice& advice) {
  std::string out;
  out.reserve(setup_text.size());
  size_t start = 0;
  while (start < setup_text.size()) {
    const TextLine next = LineAt(setup_text, start);
    const size_t end = std::min(next.next, setup_text.size());
    const std::string_view line = setup_text.substr(start, end - start);
    const std::string_view body = next.text;
    start = next.next;
    const SetupLine read = ReadSetupLine(body);
    const std::optional<int32_t> raw =
        read.kind == SetupLine::Kind::kTableElement && read.table == &Map()
            ? AdvisedRaw(advice, read.index)
            : std::nullopt;
    if (raw) {
      out += TableLine(Map(), read.index, *raw);
      out += line.substr(body.size());
    } else {
      out += line;
    }
  }
  return out;
}

std::optional<std::string> SetupTextWithAdvisedMap(
    const CalibrationSnapshot& calibration, const Advice& advice) {
  if (calibration.UnknownCount() > 0) return std::nullopt;
  return SetupFileTextOf(
      [&](const ScalarItem& item) { return *calibration.scalar(item); },
      [&](const TableItem& table, int index) {
        if (&table == &Map()) {
          if (const auto raw = AdvisedRaw(advice, index)) return *raw;
        }
        return *calibration.element(table, index);
      });
}

}  // namespace ecu

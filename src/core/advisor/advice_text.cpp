#include "core/advisor/advice_text.h"

#include <cmath>

#include "core/numbers/number_format.h"

namespace ecu {
namespace {

std::string Right(const std::string& text, size_t width) {
  return text.size() >= width ? text
                              : std::string(width - text.size(), ' ') + text;
}

std::string Signed(double value, std::string_view pattern) {
  const std::string text = FormatNumber(value, pattern);
  return value > 0 && text.find_first_not_of("0.") != std::string::npos
             ? "+" + text
             : text;
}

// 15 as "15", 7.5 as "7.5".
std::string Percent(double value) {
  return FormatNumber(value, value == std::floor(value) ? "##0" : "##0.0");
}

std::string Count(int n, const char* what) {
  return std::to_string(n) + " " + what;
}

}  // namespace

std::vector<std::string> ChangedCellLines(const Advice& advice,
                                          const MapAxes& axes,
                                          const MixtureUnits& units) {
  std::vector<std::string> lines;
  lines.push_back("Cell      RPM  " +
                  Right(axes.tps_mapped ? "%TPS" : "kPa", 5) + "  Samples" +
                  Right(units.afr ? "AFR" : "Lambda", 8) +
                  "  Target    Gain     New   Change");
  for (int i = 0; i < kMapCellCount; ++i) {
    const CellAdvice& cell = advice.cells[static_cast<size_t>(i)];
    if (!cell.changes()) continue;
    const int column = i / kMapRows;
    const int row = i % kMapRows;
    const double speed = (column + 0.5) / kMapColumns * axes.full_scale_rpm;
    const double load =
        axes.tps_mapped
            ? (row + 0.5) / kMapRows * 100
            : axes.map_offset + (row + 0.5) / kMapRows * axes.map_span;
    std::string line =
        "c" + FormatNumber(column, "00") + "r" + FormatNumber(row, "00");
    line += Right(FormatNumber(speed, "####0"), 8);
    line += Right(FormatNumber(load, "##0.0"), 7);
    line += Right(FormatNumber(cell.weight, "###0.0"), 9);
    line += Right(
        cell.mean_lambda ? units.Text(*cell.mean_lambda, "0.000") : "-", 8);
    line += Right(
        cell.mean_target ? units.Text(*cell.mean_target, "0.000") : "-", 8);
    line += Right(FormatNumber(*cell.current, "0.000"), 8);
    line += Right(FormatNumber(*cell.proposed, "0.000"), 8);
    line += Right(Signed(cell.change_percent, "##0.0") + "%", 9);
    if (cell.outcome == CellOutcome::kLimited) line += "  limited";
    if (cell.outcome == CellOutcome::kFilled) line += "  from neighbours";
    lines.push_back(line);
  }
  return lines;
}

std::string AdviceSummary(const Advice& advice,
                          const AdvisorSettings& settings) {
  const SampleTally& t = advice.tally;
  std::string text = std::to_string(advice.changed_cells) + " of " +
                     std::to_string(kMapCellCount) + " cells changed";
  if (advice.limited_cells > 0) {
    text += " (" + std::to_string(advice.limited_cells) + " held at the " +
            Percent(settings.max_change_percent) + " % limit)";
  }
  text += "; " + std::to_string(t.used) + " of " + std::to_string(t.total) +
          " samples used (" + Count(t.cold, "cold") + ", " +
          Count(t.transient, "transient") + ", " +
          Count(t.not_fuelled, "not fuelled") + ", " +
          Count(t.implausible, "implausible") + ", " +
          Count(t.no_target, "without a target") + ")";
  return text;
}

std::string MapErrorSummary(const MapError& error, const MixtureUnits& units) {
  if (error.cells == 0) return "No cell had a usable sample.";
  return std::string(units.afr ? "AFR" : "Lambda") + " off target by " +
         FormatNumber(error.mean * 100, "##0.0") + " % on average over " +
         Count(error.cells, error.cells == 1 ? "cell" : "cells") + ", " +
         FormatNumber(error.worst * 100, "##0.0") + " % at worst";
}

}  // namespace ecu

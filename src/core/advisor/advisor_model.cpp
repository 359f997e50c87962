#include "core/advisor/advisor_model.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "core/advisor/advice_text.h"
#include "core/calibration/catalogue.h"
#include "core/numbers/leading_number.h"
#include "core/numbers/number_format.h"

namespace ecu {
namespace {

constexpr Rgb kLean{215, 48, 39};
constexpr Rgb kRich{49, 104, 189};
// Cells the advisor cannot judge.
constexpr Rgb kUnjudged{215, 215, 215};
constexpr Rgb kDimText{110, 110, 110};

std::string_view MapFormat() { return FindTable("MAPM")->format; }

std::string Percent(double value) {
  return FormatNumber(value, "##0.0") + " %";
}

}  // namespace

void AdvisorModel::SetMap(const std::array<MapCell, kMapCellCount>& cells) {
  map_ = cells;
}

void AdvisorModel::Recompute() {
  AdvisorInputs inputs;
  for (const DataLog& log : logs_) inputs.logs.push_back(&log);
  for (size_t i = 0; i < map_.size(); ++i) {
    const MapCell& cell = map_[i];
    inputs.map[i] = cell.confirmed && StartsWithNumber(cell.text)
                        ? std::optional(LeadingNumber(cell.text))
                        : std::nullopt;
  }
  inputs.axes = axes_;
  inputs.target = target_;
  inputs.settings = settings_;
  advice_ = AdviseMap(inputs);
  error_ = MeasureMapError(inputs.logs, axes_, target_, settings_);
}

std::optional<std::string> AdvisorModel::ProposedText(int cell) const {
  const auto i = static_cast<size_t>(cell);
  const CellAdvice& advice = advice_.cells[i];
  if (!advice.changes() || !advice.proposed) return std::nullopt;
  std::string text = FormatNumber(*advice.proposed, MapFormat());
  // Basic Mapping shows two decimals: a change smaller than that is none.
  if (text == map_[i].text) return std::nullopt;
  return text;
}

std::vector<CellProposal> AdvisorModel::Proposals() const {
  std::vector<CellProposal> proposals;
  for (int i = 0; i < kMapCellCount; ++i) {
    if (std::optional<std::string> text = ProposedText(i)) {
      proposals.push_back({i, std::move(*text)});
    }
  }
  return proposals;
}

MapGridCells AdvisorModel::CurrentGrid() const {
  MapGridCells grid;
  for (size_t i = 0; i < grid.size(); ++i) {
    grid[i].text = map_[i].text;
    if (!advice_.cells[i].current) {
      grid[i].background = kUnjudged;
      grid[i].text_colour = kDimText;
    }
  }
  return grid;
}

MapGridCells AdvisorModel::ProposedGrid() const {
  MapGridCells grid;
  const double full = std::max(settings_.max_change_percent, 1.0);
  for (int i = 0; i < kMapCellCount; ++i) {
    const CellAdvice& advice = advice_.cells[static_cast<size_t>(i)];
    GridCell& cell = grid[static_cast<size_t>(i)];
    cell.text = map_[static_cast<size_t>(i)].text;
    const std::optional<std::string> proposed = ProposedText(i);
    if (proposed) {
      cell.text = *proposed;
      // A visible tint even for the smallest change.
      const double share =
          0.25 + 0.75 * std::min(std::abs(advice.change_percent) / full, 1.0);
      cell.background = BlendColour(
          kBrightWhite, advice.change_percent > 0 ? kLean : kRich, share);
      cell.text_colour = share > 0.6 ? kBrightWhite : kBlack;
      cell.outlined = advice.outcome == CellOutcome::kLimited;
    } else if (advice.outcome == CellOutcome::kNotVisited ||
               advice.outcome == CellOutcome::kTooFewSamples ||
               advice.outcome == CellOutcome::kNoValue) {
      cell.background = kUnjudged;
      cell.text_colour = kDimText;
    }
  }
  return grid;
}

MapGridCells AdvisorModel::HitGrid() const {
  std::array<int, kMapCellCount> hits{};
  for (size_t i = 0; i < hits.size(); ++i) {
    hits[i] = advice_.cells[i].samples;
  }
  return HitCountGrid(hits);
}

std::string AdvisorModel::Summary() const {
  if (logs_.empty()) return "No data log to advise from.";
  std::string text = AdviceSummary(advice_, settings_);
  const size_t shown = Proposals().size();
  if (shown != static_cast<size_t>(advice_.changed_cells)) {
    text += "; " + std::to_string(shown) +
            " of them change by a step Basic Mapping shows";
  }
  text += ". " + MapErrorSummary(error_, units_);
  // Lines left out change the advice; the tuner should know which log.
  for (const DataLog& log : logs_) {
    const std::string unread = UnreadLinesText(log);
    if (unread.empty()) continue;
    if (text.back() != '.') text += '.';
    text += " " + std::filesystem::path(log.source).filename().string() + ": " +
            unread;
  }
  return text;
}

std::string AdvisorModel::CellTip(int cell) const {
  const CellAdvice& advice = advice_.cells[static_cast<size_t>(cell)];
  std::string tip = "Cell c" + std::to_string(cell / kMapRows) + " r" +
                    std::to_string(cell % kMapRows) + ": ";
  switch (advice.outcome) {
    case CellOutcome::kNotVisited:
      return tip + "no samples";
    case CellOutcome::kTooFewSamples:
      return tip + "too few samples (" + FormatNumber(advice.weight, "##0.0") +
             " of " + FormatNumber(settings_.min_samples, "##0.#") + ")";
    case CellOutcome::kNoValue:
      return tip + "its value is not known (not read, or changed here)";
    default:
      break;
  }
  tip += FormatNumber(advice.weight, "##0.0") + " samples";
  if (advice.mean_lambda && advice.mean_target) {
    tip += std::string(units_.afr ? ", AFR " : ", lambda ") +
           units_.Text(*advice.mean_lambda, "0.000") + " for " +
           units_.Text(*advice.mean_target, "0.000");
  }
  if (!ProposedText(cell)) return tip + "; on target";
  tip += "; " + FormatNumber(*advice.current, "0.000") + " to " +
         FormatNumber(*advice.proposed, "0.000") + " (" +
         (advice.change_percent > 0 ? "+" : "") +
         Percent(advice.change_percent) + ")";
  if (advice.outcome == CellOutcome::kLimited) tip += ", held at the limit";
  if (advice.outcome == CellOutcome::kFilled) tip += ", from its neighbours";
  return tip;
}

}  // namespace ecu

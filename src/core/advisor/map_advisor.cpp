#include "core/advisor/map_advisor.h"

#include <algorithm>
#include <cmath>

#include "core/advisor/sample_filter.h"
#include "core/calibration/catalogue.h"
#include "core/calibration/scaling.h"

namespace ecu {
namespace {

// Running sums of one cell.
struct CellSums {
  int samples = 0;
  double weight = 0;
  double ratio = 0;  // share x lambda / target
  double lambda = 0;
  double target = 0;
};

void Tally(SampleUse use, SampleTally& tally) {
  ++tally.total;
  switch (use) {
    case SampleUse::kUsed:
      ++tally.used;
      break;
    case SampleUse::kCold:
      ++tally.cold;
      break;
    case SampleUse::kTransient:
      ++tally.transient;
      break;
    case SampleUse::kNotFuelled:
      ++tally.not_fuelled;
      break;
    case SampleUse::kImplausible:
      ++tally.implausible;
      break;
    case SampleUse::kNoTarget:
      ++tally.no_target;
      break;
  }
}

// The gain the map would hold for `gain`: its raw count (nearest, halves to
// even), held within the table's range.
struct HeldGain {
  double gain;
  bool held;  // the range stopped it
};
HeldGain MapHolds(double gain) {
  const TableItem& map = *FindTable("MAPM");
  const ItemRange range = RangeOf(map);
  const int64_t raw = ValueToRaw(map.scaling, gain, LiveData());
  const int64_t kept = std::clamp<int64_t>(raw, range.min, range.max);
  return {*RawToValue(map.scaling, static_cast<int32_t>(kept), LiveData()),
          kept != raw};
}

void Propose(CellAdvice& cell, double wanted_ratio, double max_change,
             CellOutcome outcome) {
  const double ratio =
      std::clamp(wanted_ratio, 1.0 - max_change, 1.0 + max_change);
  const HeldGain proposed = MapHolds(*cell.current * ratio);
  const HeldGain current = MapHolds(*cell.current);
  if (proposed.gain == current.gain) {
    cell.outcome = CellOutcome::kOnTarget;
    return;
  }
  cell.proposed = proposed.gain;
  cell.change_percent = (proposed.gain / *cell.current - 1.0) * 100.0;
  const bool limited = ratio != wanted_ratio || proposed.held;
  cell.outcome = limited && outcome == CellOutcome::kChanged
                     ? CellOutcome::kLimited
                     : outcome;
}

// Never-visited cells take the mean change of the changed cells beside
// them (the eight around), when there are any.
void FillUnvisited(std::array<CellAdvice, kMapCellCount>& cells,
                   double max_change) {
  const std::array<CellAdvice, kMapCellCount> before = cells;
  for (int column = 0; column < kMapColumns; ++column) {
    for (int row = 0; row < kMapRows; ++row) {
      CellAdvice& cell = cells[static_cast<size_t>(kMapRows * column + row)];
      if (cell.outcome != CellOutcome::kNotVisited || !cell.current) continue;
      double ratios = 0;
      int count = 0;
      for (int dc = -1; dc <= 1; ++dc) {
        for (int dr = -1; dr <= 1; ++dr) {
          const int c = column + dc;
          const int r = row + dr;
          if (c < 0 || c >= kMapColumns || r < 0 || r >= kMapRows) continue;
          const CellAdvice& n = before[static_cast<size_t>(kMapRows * c + r)];
          if (n.outcome != CellOutcome::kChanged &&
              n.outcome != CellOutcome::kLimited &&
              n.outcome != CellOutcome::kOnTarget) {
            continue;
          }
          ratios += n.proposed ? *n.proposed / *n.current : 1.0;
          ++count;
        }
      }
      if (count > 0) {
        Propose(cell, ratios / count, max_change, CellOutcome::kFilled);
        if (cell.outcome == CellOutcome::kOnTarget) {
          cell.outcome = CellOutcome::kNotVisited;
        }
      }
    }
  }
}

// The cells a usable sample speaks for, with their shares.
std::array<CellWeight, 4> SharesOf(MapPoint point, bool spread) {
  std::array<CellWeight, 4> shares = FuelMapWeights(point);
  if (spread) return shares;
  const auto nearest =
      std::max_element(shares.begin(), shares.end(),
                       [](const CellWeight& a, const CellWeight& b) {
                         return a.weight < b.weight;
                       });
  return {{{nearest->index, 1.0}, {0, 0.0}, {0, 0.0}, {0, 0.0}}};
}

}  // namespace

Advice AdviseMap(const AdvisorInputs& inputs) {
  Advice advice;
  std::array<CellSums, kMapCellCount> sums{};
  const AdvisorSettings& settings = inputs.settings;
  std::vector<std::optional<UsableSample>> usable;
  for (const DataLog* log : inputs.logs) {
    const std::vector<SampleUse> uses =
        SortSamples(*log, inputs.axes, inputs.target, settings, &usable);
    for (size_t i = 0; i < uses.size(); ++i) {
      Tally(uses[i], advice.tally);
      if (!usable[i]) continue;
      const UsableSample& s = *usable[i];
      for (const CellWeight& w :
           SharesOf(s.point, settings.spread_over_neighbours)) {
        if (w.weight <= 0) continue;
        CellSums& cell = sums[static_cast<size_t>(w.index)];
        ++cell.samples;
        cell.weight += w.weight;
        cell.ratio += w.weight * s.lambda / s.target;
        cell.lambda += w.weight * s.lambda;
        cell.target += w.weight * s.target;
      }
    }
  }

  const double max_change = std::max(0.0, settings.max_change_percent) / 100.0;
  for (int i = 0; i < kMapCellCount; ++i) {
    const CellSums& sum = sums[static_cast<size_t>(i)];
    CellAdvice& cell = advice.cells[static_cast<size_t>(i)];
    cell.current = inputs.map[static_cast<size_t>(i)];
    cell.samples = sum.samples;
    cell.weight = sum.weight;
    if (sum.weight > 0) {
      cell.mean_lambda = sum.lambda / sum.weight;
      cell.mean_target = sum.target / sum.weight;
    }
    if (sum.samples == 0) {
      cell.outcome = CellOutcome::kNotVisited;
    } else if (!cell.current) {
      cell.outcome = CellOutcome::kNoValue;
    } else if (sum.weight < settings.min_samples) {
      cell.outcome = CellOutcome::kTooFewSamples;
    } else {
      // Lean (lambda above its target) wants more fuel, in proportion.
      Propose(cell, sum.ratio / sum.weight, max_change, CellOutcome::kChanged);
    }
  }
  if (!settings.skip_unvisited) FillUnvisited(advice.cells, max_change);
  for (const CellAdvice& cell : advice.cells) {
    if (cell.changes()) ++advice.changed_cells;
    if (cell.outcome == CellOutcome::kLimited) ++advice.limited_cells;
  }
  return advice;
}

MapError MeasureMapError(const std::vector<const DataLog*>& logs,
                         const MapAxes& axes, const LambdaTarget& target,
                         const AdvisorSettings& settings, int min_samples) {
  std::array<double, kMapCellCount> sums{};
  std::array<int, kMapCellCount> counts{};
  std::vector<std::optional<UsableSample>> usable;
  for (const DataLog* log : logs) {
    SortSamples(*log, axes, target, settings, &usable);
    for (const std::optional<UsableSample>& s : usable) {
      if (!s) continue;
      const auto cell = static_cast<size_t>(LiveCellIndex(s->point));
      sums[cell] += std::abs(s->lambda / s->target - 1.0);
      ++counts[cell];
    }
  }
  MapError error;
  for (int i = 0; i < kMapCellCount; ++i) {
    const int n = counts[static_cast<size_t>(i)];
    if (n < std::max(1, min_samples)) continue;
    const double cell = sums[static_cast<size_t>(i)] / n;
    ++error.cells;
    error.mean += cell;
    error.worst = std::max(error.worst, cell);
  }
  if (error.cells > 0) error.mean /= error.cells;
  return error;
}

}  // namespace ecu

#include "core/advisor/grid_cells.h"

#include <algorithm>
#include <cmath>

namespace ecu {
namespace {

constexpr Rgb kMostHits{30, 80, 190};

uint8_t Blend(uint8_t from, uint8_t to, double share) {
  return static_cast<uint8_t>(std::lround(from + (to - from) * share));
}

}  // namespace

Rgb BlendColour(Rgb from, Rgb to, double share) {
  share = std::clamp(share, 0.0, 1.0);
  return {Blend(from.r, to.r, share), Blend(from.g, to.g, share),
          Blend(from.b, to.b, share)};
}

MapGridCells HitCountGrid(std::span<const int, kMapCellCount> hits) {
  MapGridCells cells;
  const int most = *std::max_element(hits.begin(), hits.end());
  for (size_t i = 0; i < cells.size(); ++i) {
    const int n = hits[i];
    if (n <= 0) continue;
    // By the square root, so a few hits still show beside many.
    const double share = std::sqrt(static_cast<double>(n) / most);
    cells[i].text = std::to_string(n);
    cells[i].background = BlendColour(kBrightWhite, kMostHits, share);
    cells[i].text_colour = share > 0.55 ? kBrightWhite : kBlack;
  }
  return cells;
}

}  // namespace ecu

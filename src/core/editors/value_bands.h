#ifndef ECU_CORE_EDITORS_VALUE_BANDS_H_
#define ECU_CORE_EDITORS_VALUE_BANDS_H_

#include <array>
#include <optional>
#include <span>
#include <string>

#include "core/editors/editor_colours.h"

namespace ecu {

// The fuel map's legend boxes bk_color 0..7, from the highest eighth of the
// map's values to the lowest. None is the yellow change mark.
inline constexpr std::array<Rgb, 8> kBandColours = {{{255, 128, 128},
                                                     {255, 159, 159},
                                                     {255, 192, 192},
                                                     {252, 215, 190},
                                                     {255, 255, 192},
                                                     {222, 238, 189},
                                                     {192, 255, 192},
                                                     {0, 255, 0}}};

// The map's values cut into eight bands between its lowest and highest
// value, as the grid was coloured when it was read.
class ValueBands {
 public:
  // Cells without a value (never read, or not a number) do not count.
  static ValueBands Scan(std::span<const std::optional<double>> values);

  // The legend box whose colour a value takes: 7 for the lowest eighth
  // (and for every value when all are equal), 0 for the highest.
  int BoxOf(double value) const;
  Rgb ColourOf(double value) const { return kBandColours[BoxOf(value)]; }
  // The caption of a legend box: the top of its band ("#.00").
  std::string LegendText(int box) const;

  double min() const { return min_; }
  double max() const { return max_; }

 private:
  // As the scan starts: no cell has lowered min or raised max yet.
  double min_ = 3.0;
  double max_ = 0.0;
};

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_VALUE_BANDS_H_

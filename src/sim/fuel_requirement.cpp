#include "sim/fuel_requirement.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "core/calibration/catalogue.h"
#include "core/numbers/rounding.h"
#include "sim/memory_cells.h"

namespace ecu::sim {
namespace {

// A uniform number in [-1, 1]; mt19937's output is fixed by the standard.
double Uniform(std::mt19937& random) {
  return random() / 4294967295.0 * 2.0 - 1.0;
}

}  // namespace

TrueFuelMap MakeTrueFuelMap(uint32_t seed) {
  std::mt19937 random(seed ^ 0x5EEDF00Du);
  struct Wave {
    double amplitude, speed_cycles, load_cycles, phase;
  };
  std::array<Wave, 3> waves;
  for (Wave& w : waves) {
    w.amplitude = 0.02 + 0.02 * std::abs(Uniform(random));
    w.speed_cycles = 0.5 + 0.5 * std::abs(Uniform(random));
    w.load_cycles = 0.5 * Uniform(random);
    w.phase = std::numbers::pi * Uniform(random);
  }
  const double peak = 0.5 + 0.1 * Uniform(random);
  TrueFuelMap truth;
  for (int column = 0; column < kMapColumns; ++column) {
    for (int row = 0; row < kMapRows; ++row) {
      const double speed = (column + 0.5) / kMapColumns;
      const double load = (row + 0.5) / kMapRows;
      const double breathing = std::exp(-std::pow((speed - peak) / 0.4, 2.0));
      double gain = 0.72 + 0.32 * breathing + 0.12 * load;
      for (const Wave& w : waves) {
        gain += w.amplitude *
                std::sin(2 * std::numbers::pi *
                             (w.speed_cycles * speed + w.load_cycles * load) +
                         w.phase);
      }
      truth[static_cast<size_t>(kMapRows * column + row)] = gain;
    }
  }
  return truth;
}

void WriteFuelMap(CalibrationMemory& memory, const TrueFuelMap& truth,
                  double error_percent, uint32_t seed) {
  std::mt19937 random(seed ^ 0xE220u);
  const TableItem& map = *FindTable("MAPM");
  for (int i = 0; i < kMapCellCount; ++i) {
    const double off = error_percent / 100.0 * Uniform(random);
    const double gain = truth[static_cast<size_t>(i)] * (1.0 + off);
    SetCellValue(memory, map, i,
                 static_cast<int>(
                     std::clamp<int64_t>(RoundHalfEven(gain * 128.0), 0, 255)));
  }
}

}  // namespace ecu::sim

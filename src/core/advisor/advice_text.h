#ifndef ECU_CORE_ADVISOR_ADVICE_TEXT_H_
#define ECU_CORE_ADVISOR_ADVICE_TEXT_H_

#include <string>
#include <vector>

#include "core/advisor/map_advisor.h"
#include "core/units/mixture_units.h"

namespace ecu {

// The changed cells as a compact table for a terminal: a heading, then one
// line a cell with its place (column and row, and the speed and load at
// its centre), the samples' worth, the mean mixture (the EGO share taken
// out) and target in `units`, the gain and its proposal, and the change;
// cells held at a limit or filled from their neighbours say so.
std::vector<std::string> ChangedCellLines(const Advice& advice,
                                          const MapAxes& axes,
                                          const MixtureUnits& units = {});

// "12 of 256 cells changed (3 held at the 15 % limit); 2345 of 3000
// samples used (500 cold, 120 transient, ...)".
std::string AdviceSummary(const Advice& advice,
                          const AdvisorSettings& settings);

// "Lambda off target by 6.3 % on average over 120 cells, 19.2 % at worst":
// how far the map the logs were driven on misses (MeasureMapError). The
// share is the same in either unit; only the word follows `units`.
std::string MapErrorSummary(const MapError& error,
                            const MixtureUnits& units = {});

}  // namespace ecu

#endif  // ECU_CORE_ADVISOR_ADVICE_TEXT_H_

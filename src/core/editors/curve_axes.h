#ifndef ECU_CORE_EDITORS_CURVE_AXES_H_
#define ECU_CORE_EDITORS_CURVE_AXES_H_

#include <string>
#include <vector>

#include "core/editors/curve_cells.h"
#include "core/link/live_data.h"

namespace ecu {

// The captions of an axis of `points` evenly spaced points over `input`,
// first to last. Whole numbers are truncated towards minus infinity, as the
// ECU's breakpoints are; the AUX volts show three decimals.
std::vector<std::string> CurveAxisLabels(CurveInput input, int points,
                                         const LiveData& live);

// Where the live value of `input` stands on its axis: 0 at the first point,
// 1 at the last. It runs past either end with the engine.
double LiveFraction(CurveInput input, const LiveData& live);

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_CURVE_AXES_H_

#ifndef ECU_CORE_EDITORS_INJECTOR_ADJUSTMENTS_H_
#define ECU_CORE_EDITORS_INJECTOR_ADJUSTMENTS_H_

#include <string_view>
#include <vector>

#include "core/editors/cell_family.h"
#include "core/editors/editor_cell.h"
#include "core/link/ecu_link.h"

namespace ecu {

// The two injector adjustments that the fuel map window and the dashboard
// both edit: ecu_pgm 0, the fuel scaler (FUEL_MX, "Injector Main Adj."), and
// ecu_pgm 1, the fuel offset (FUEL_B, "Injector Idle Adj."). Both arrive with
// the program block "B" and are written with "m" and "o", with the
// catalogue's checks and messages.
inline constexpr std::string_view kInjectorBoxes = "ecu_pgm";
inline constexpr int kFuelScalerBox = 0;
inline constexpr int kFuelOffsetBox = 1;

// The family with its nudge (0.1 ms, -16 to 65.535 ms, "##.000"); the
// arrows are each window's own.
CellFamily InjectorAdjustmentFamily(ArrowKeys arrows);

// Scaler first, then offset: the order of every update.
std::vector<CellRef> InjectorUpdateOrder();

// Reads the program block, whose reply fills both boxes.
void ReadInjectorAdjustments(EcuLink& link);

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_INJECTOR_ADJUSTMENTS_H_

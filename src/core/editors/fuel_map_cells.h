#ifndef ECU_CORE_EDITORS_FUEL_MAP_CELLS_H_
#define ECU_CORE_EDITORS_FUEL_MAP_CELLS_H_

#include <vector>

#include "core/editors/cell_family.h"
#include "core/editors/editor_cell.h"

namespace ecu {

// The cell families of the fuel map window with their key rules, in the
// order their cells are emptied and filled.
std::vector<CellFamily> FuelMapFamilies();

// The order of the update: fuel scaler, fuel offset, cut-in speed, the map
// cells, then for each engine speed step its TPS mix and TPS pulse width.
std::vector<CellRef> FuelMapUpdateOrder();

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_FUEL_MAP_CELLS_H_

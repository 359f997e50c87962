#include "core/editors/fuel_map_cells.h"

#include "core/calibration/catalogue.h"
#include "core/editors/fuel_map_editor.h"
#include "core/editors/injector_adjustments.h"

namespace ecu {
namespace {

// An arrow that is the editor's but moves nothing.
constexpr ArrowMove kStay{};

CellFamily MapCells() {
  CellFamily f;
  f.name = kMapCells;
  f.count = kMapCellCount;
  f.table = FindTable("MAPM");
  f.nudge = Nudge{.step = 1.0 / 128, .min = 0, .format = "#.00"};
  // Up and Down step the index, so they run on into the next column.
  f.arrows = {.up = ArrowMove{.delta = 1},
              .down = ArrowMove{.delta = -1},
              .left = ArrowMove{.delta = -kMapRows},
              .right = ArrowMove{.delta = kMapRows}};
  return f;
}

CellFamily CutInBox() {
  CellFamily f;
  f.name = kCutInBox;
  f.scalars = {FindScalar("TPS_RPM")};
  f.nudge = Nudge{
      .step = 50, .min = 0, .format = "####0", .max_is_full_scale_rpm = true};
  f.arrows = {.up = kStay,
              .down = ArrowMove{.edge_family = kInjectorBoxes,
                                .edge_index = kFuelScalerBox}};
  return f;
}

CellFamily TpsRow(std::string_view name, const char* key, Nudge nudge,
                  ArrowMove up, ArrowMove down) {
  CellFamily f;
  f.name = name;
  f.count = kTpsPoints;
  f.table = FindTable(key);
  f.nudge = nudge;
  f.arrows = {.up = up,
              .down = down,
              .left = ArrowMove{.delta = -1},
              .right = ArrowMove{.delta = 1}};
  return f;
}

}  // namespace

std::vector<CellFamily> FuelMapFamilies() {
  return {
      InjectorAdjustmentFamily({.up = ArrowMove{.delta = -1,
                                                .edge_family = kCutInBox,
                                                .edge_index = 0},
                                .down = kStay}),
      CutInBox(),
      MapCells(),
      TpsRow(kTpsPulseWidths, "TPSM",
             Nudge{.step = 0.1, .min = 0, .max = 65.535, .format = "##.000"},
             kStay, ArrowMove{.edge_family = kTpsPercents}),
      TpsRow(kTpsPercents, "TPSP",
             Nudge{.step = 1, .min = 0, .max = 100, .format = "###.0"},
             ArrowMove{.edge_family = kTpsPulseWidths}, kStay),
  };
}

std::vector<CellRef> FuelMapUpdateOrder() {
  std::vector<CellRef> order = InjectorUpdateOrder();
  order.push_back({kCutInBox, 0});
  for (int i = 0; i < kMapCellCount; ++i) order.push_back({kMapCells, i});
  for (int k = 0; k < kTpsPoints; ++k) {
    order.push_back({kTpsPercents, k});
    order.push_back({kTpsPulseWidths, k});
  }
  return order;
}

}  // namespace ecu

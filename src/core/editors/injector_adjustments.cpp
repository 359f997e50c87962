#include "core/editors/injector_adjustments.h"

#include <string>

#include "core/calibration/catalogue.h"

namespace ecu {

CellFamily InjectorAdjustmentFamily(ArrowKeys arrows) {
  CellFamily family;
  family.name = kInjectorBoxes;
  family.count = 2;
  family.scalars = {FindScalar("FUEL_MX"), FindScalar("FUEL_B")};
  family.nudge =
      Nudge{.step = 0.1, .min = -16, .max = 65.535, .format = "##.000"};
  family.arrows = arrows;
  return family;
}

std::vector<CellRef> InjectorUpdateOrder() {
  return {{kInjectorBoxes, kFuelScalerBox}, {kInjectorBoxes, kFuelOffsetBox}};
}

void ReadInjectorAdjustments(EcuLink& link) {
  const ScalarItem& scaler = *FindScalar("FUEL_MX");
  link.SendCommand(std::string(1, static_cast<char>(scaler.read_code)),
                   scaler.read_length);
}

}  // namespace ecu

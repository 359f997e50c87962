#include "core/editors/injector_adjustments.h"

#include <string>
#include <tuple>

#include "core/calibration/calibration_requests.h"
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
  std::ignore = ReadScalar(link, *FindScalar("FUEL_MX"));
}

}  // namespace ecu

#ifndef ECU_CORE_EDITORS_CONFIGURATION_ORDER_H_
#define ECU_CORE_EDITORS_CONFIGURATION_ORDER_H_

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "core/calibration/catalogue.h"

namespace ecu {

// The read codes that fill "Configuration", in the order the window sends
// them.
std::span<const uint8_t> ConfigurationFillReads();

// What one step of the update looks at.
enum class StepKind {
  kField,       // a text field, written with its constant's write code
  kMapType,     // the MAP sensor group, written as MAP_TYPE
  kOptionsBox,  // one of the four OPTIONS controls: the whole byte goes
  kPhaseRows,   // every marked row of the injector phase matrix
  kEgoType,     // the EGO sensor group, written as EGO_FLGS
};

struct UpdateStep {
  StepKind kind;
  std::string_view control;  // the field or control name
  int index = kNoIndex;      // the element of a control array
  double pause = 0.2;        // seconds waited after a marked step
};

// The update, control by control, in the window's order.
std::span<const UpdateStep> ConfigurationUpdateSteps();

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_CONFIGURATION_ORDER_H_

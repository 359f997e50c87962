#include "core/editors/configuration_fields.h"

#include "core/editors/configuration_order.h"

namespace ecu {

const ScalarItem* ConfigurationFieldItem(std::string_view field) {
  // Check boxes show one bit; the MAP sensor is an option group.
  for (const ScalarItem& item : AllScalars()) {
    for (const FieldRef& ref : item.fields) {
      if (ref.window == kConfigurationWindow && ref.field == field &&
          ref.bit == kWholeValue && item.scaling != Scaling::kMapType) {
        return &item;
      }
    }
  }
  return nullptr;
}

std::vector<CellFamily> ConfigurationFieldFamilies() {
  std::vector<CellFamily> families;
  for (const UpdateStep& step : ConfigurationUpdateSteps()) {
    if (step.kind != StepKind::kField) continue;
    CellFamily family;
    family.name = step.control;
    family.scalars = {ConfigurationFieldItem(step.control)};
    family.focus_colours = false;
    families.push_back(std::move(family));
  }
  return families;
}

bool EnterUpdatesFrom(std::string_view field) {
  return field != "num_pulses_hot" && field != "priming_pw_hot" &&
         field != kLambdaAt0VField && field != kLambdaAt1VField;
}

}  // namespace ecu

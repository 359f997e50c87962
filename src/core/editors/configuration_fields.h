#ifndef ECU_CORE_EDITORS_CONFIGURATION_FIELDS_H_
#define ECU_CORE_EDITORS_CONFIGURATION_FIELDS_H_

#include <string_view>
#include <vector>

#include "core/calibration/catalogue.h"
#include "core/editors/cell_family.h"

namespace ecu {

// Text fields of "Configuration" (frm_tool) that the editor treats on their
// own.
inline constexpr std::string_view kFullScaleField = "full_scale_rpm";
inline constexpr std::string_view kTpsClosedField = "tps_base_val";
inline constexpr std::string_view kTpsOpenField = "tps_fs_val";
inline constexpr std::string_view kLambdaAt0VField = "WB_EGO_0V_LAMBDA";
inline constexpr std::string_view kLambdaAt1VField = "WB_EGO_1V_LAMBDA";

// The constant a text field of the window shows; nullptr for a name that is
// no text field there.
const ScalarItem* ConfigurationFieldItem(std::string_view field);

// Every text field as a family of one cell bound to its constant, in the
// order of the update. The fields keep black text when focused and have no
// nudges or arrow moves.
std::vector<CellFamily> ConfigurationFieldFamilies();

// Enter runs the update from every text field but the hot priming and the
// wide-band lambda fields.
bool EnterUpdatesFrom(std::string_view field);

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_CONFIGURATION_FIELDS_H_

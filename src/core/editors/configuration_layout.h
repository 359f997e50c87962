#ifndef ECU_CORE_EDITORS_CONFIGURATION_LAYOUT_H_
#define ECU_CORE_EDITORS_CONFIGURATION_LAYOUT_H_

#include <string_view>
#include <vector>

namespace ecu {

// One text field of the configuration window as the tuner reads it.
struct FieldLine {
  const char* field;
  const char* label;
  const char* unit;
  const char* tip;
};

// What a frame holds besides its text fields.
enum class FrameExtra {
  kNone,
  kPhaseMatrix,  // the injector phase matrix, below the fields
  kOptions,      // MAP sensor group, OPTIONS check boxes and options
  kEgoType,      // the sensor group, above the fields
  kTpsCapture,   // a "Cal." button beside each field
};

struct FrameLayout {
  const char* name;
  const char* caption;
  int column;  // frames stack top to bottom in three columns
  std::vector<FieldLine> lines;
  FrameExtra extra = FrameExtra::kNone;
};

// The eleven frames, column by column.
const std::vector<FrameLayout>& ConfigurationFrames();

// The label beside a text field ("Accel Min PW"); empty for a name that is
// no text field of the window.
std::string_view ConfigurationFieldLabel(std::string_view field);

// Captions and tips of the check boxes, option buttons and buttons.
struct SwitchLine {
  const char* name;
  int index;
  const char* caption;
  const char* tip;
};
const std::vector<SwitchLine>& ConfigurationSwitchLines();

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_CONFIGURATION_LAYOUT_H_

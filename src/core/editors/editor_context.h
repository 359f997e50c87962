#ifndef ECU_CORE_EDITORS_EDITOR_CONTEXT_H_
#define ECU_CORE_EDITORS_EDITOR_CONTEXT_H_

#include "core/calibration/calibration_image.h"
#include "core/calibration/field_board.h"
#include "core/link/ecu_link.h"
#include "core/link/live_data.h"
#include "core/platform/event_pump.h"
#include "core/platform/prompts.h"

namespace ecu {

// The part of the console's records an editor works with: the link, the
// field board that brings it decoded items, the calibration image and the
// live scaling, message boxes, the event pump and master mode. Editors do
// not see the console's window state.
struct EditorContext {
  EcuLink& link;
  FieldBoard& fields;
  CalibrationImage& image;
  LiveData& live;
  Prompts& prompts;
  EventPump& pump;
  const bool& master_mode;

  bool demo_mode() const { return link.state().demo_mode; }
};

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_EDITOR_CONTEXT_H_

#ifndef ECU_CORE_ECU_CONTEXT_H_
#define ECU_CORE_ECU_CONTEXT_H_

#include <functional>
#include <string>

#include "core/calibration/calibration_image.h"
#include "core/calibration/field_board.h"
#include "core/console/console_state.h"
#include "core/console/data_log.h"
#include "core/editors/editor_context.h"
#include "core/link/controller_commands.h"
#include "core/link/ecu_link.h"
#include "core/link/link_state.h"
#include "core/link/live_data.h"
#include "core/link/reply_table.h"
#include "core/platform/clock.h"
#include "core/platform/event_pump.h"
#include "core/platform/prompts.h"
#include "core/platform/serial_port.h"
#include "core/signal.h"
#include "core/units/mixture_units.h"

namespace ecu {

// The process-wide records of one console (or ecu-cli run), made once in
// main and afresh in each test, and passed by reference to whoever needs
// them. Nothing of this lives in globals.
class EcuContext {
 public:
  EcuContext(SerialPort& port, Clock& clock, Prompts& prompts, EventPump& pump);
  EcuContext(const EcuContext&) = delete;
  EcuContext& operator=(const EcuContext&) = delete;

  SerialPort& port;
  Clock& clock;
  Prompts& prompts;
  EventPump& pump;

  LinkState link_state;
  ReplyTable replies;
  EcuLink link;
  LiveData live;
  CalibrationImage image;
  // Where decoded calibration items go to the editor fields that show them.
  FieldBoard fields;
  ConsoleState console;
  // The data log; it outlives the plotter window.
  LogState log;
  ControllerInfo controller;

  // What the editors see of all this.
  EditorContext editors() {
    return {link, fields, image, live, prompts, pump, console.master_mode};
  }
  // Lambda or AFR for what the tuner reads and types; never on the wire.
  MixtureUnits units;
  // The monitor's map_num label, written when frame 178 is decoded.
  Signal<const std::string&> map_number_shown;
};

}  // namespace ecu

#endif  // ECU_CORE_ECU_CONTEXT_H_

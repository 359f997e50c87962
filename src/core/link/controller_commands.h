#ifndef ECU_CORE_LINK_CONTROLLER_COMMANDS_H_
#define ECU_CORE_LINK_CONTROLLER_COMMANDS_H_

#include <functional>
#include <string>

#include "core/link/ecu_link.h"
#include "core/link/reply_table.h"
#include "core/signal.h"

namespace ecu {

// What the one-shot controller commands learned: the identification shown in
// the About box and whether the flash utility may be used.
struct ControllerInfo {
  std::string firmware_revision = "Unknown";  // FW_Rev
  std::string serial_number = "Unknown";      // serial_num
  bool flash_utility_enabled = false;         // menu_tool_flash_utility
  // Told whenever one of the above changes, so an open window can follow.
  Signal<> changed;
};

// "V1.01.03" for revision 10103: the number padded to five digits.
std::string FirmwareRevisionText(int revision);

// N of the revision reply ("R"); on the line it is N + 2 bytes.
inline constexpr int kRevisionLength = 5;

// Adds the controller replies (174 reset / re-flash, "R", "-", "d", "D") to
// the reply table.
void AddControllerReplies(ReplyTable& replies, EcuLink& link,
                          ControllerInfo& info);

// The requests themselves, for callers that ask no questions (ecu-cli).
CommandOutcome ReadRevision(EcuLink& link);
CommandOutcome ReadSerialNumber(EcuLink& link);
CommandOutcome RequestReflash(EcuLink& link);

// Tool menu "&Reset".
void ResetController(EcuLink& link);
// Tool menu "Prepare to Re-&Flash": asks first; the link is made ready
// whatever the answer, the command is sent on OK only.
void PrepareToReflash(EcuLink& link);
// The identification the About box asks for each time it becomes active; in
// demo mode only the revision label changes, to "DEMO MODE".
void ReadIdentification(EcuLink& link, ControllerInfo& info);
// The dashboard's EGO switch: item 0 turns the closed loop on ("d"), item 1
// off ("D"); any other item sends nothing.
void SwitchEgoLoop(EcuLink& link, int item);

}  // namespace ecu

#endif  // ECU_CORE_LINK_CONTROLLER_COMMANDS_H_

#ifndef ECU_CORE_ADVISOR_DATA_LOG_DIALOG_H_
#define ECU_CORE_ADVISOR_DATA_LOG_DIALOG_H_

#include <string>

#include "core/platform/prompts.h"

namespace ecu {

// Asks for a data log to open; empty when the tuner cancelled.
std::string AskForDataLogPath(Prompts& prompts);

}  // namespace ecu

#endif  // ECU_CORE_ADVISOR_DATA_LOG_DIALOG_H_

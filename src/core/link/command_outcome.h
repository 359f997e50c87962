#ifndef ECU_CORE_LINK_COMMAND_OUTCOME_H_
#define ECU_CORE_LINK_COMMAND_OUTCOME_H_

#include <string>
#include <utility>

namespace ecu {

// How one command transaction ended.
enum class CommandResult {
  kAnswered,     // a reply of the expected length was decoded
  kNoAnswer,     // no accepted reply after every attempt (the user was told)
  kPortLost,     // the port went away (adapter pulled, pty closed)
  kNested,       // refused: another transaction was running
  kDemo,         // demo mode: nothing was sent and nothing decoded
  kUnknownCode,  // the reply table has no such code: nothing was sent
};

// What a caller learns from SendCommand. Ignoring it is usually a bug (a
// value the ECU never sent would be taken as read): callers that may ignore
// it say so with std::ignore.
struct [[nodiscard]] CommandOutcome {
  CommandOutcome(CommandResult r, std::string why = {})
      : result(r), reason(std::move(why)) {}

  CommandResult result;
  // For kPortLost, the driver's reason.
  std::string reason;

  bool answered() const { return result == CommandResult::kAnswered; }
};

}  // namespace ecu

#endif  // ECU_CORE_LINK_COMMAND_OUTCOME_H_

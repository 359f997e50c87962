#ifndef ECU_APP_CLI_CLI_SESSION_H_
#define ECU_APP_CLI_CLI_SESSION_H_

#include <string>
#include <vector>

#include "app/cli/cli_prompts.h"
#include "core/ecu_context.h"
#include "qt/qt_serial_port.h"
#include "qt/system_clock.h"

namespace ecu::cli {

// Exit statuses of ecu-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitNoAnswer = 1;
inline constexpr int kExitUsage = 2;

// One run of ecu-cli: the platform, the context and the chosen port.
struct CliSession {
  explicit CliSession(const std::string& device) {
    ctx.link_state.port_device = device;
  }

  // Opens the port as the console would; false (after saying why) when it
  // cannot, since a script has no use for demo mode.
  bool Connect();
  // The exit status for a run that has ended: 1 when any transaction went
  // unanswered.
  int Finish() const;

  QtSerialPort port;
  SystemClock clock;
  StderrPrompts prompts;
  NoEventPump pump;
  EcuContext ctx{port, clock, prompts, pump};
  // A live command has already said the port was lost, with its own hint.
  bool loss_reported = false;
};

}  // namespace ecu::cli

#endif  // ECU_APP_CLI_CLI_SESSION_H_

#include "app/cli/cli_session.h"

#include <cstdio>

namespace ecu::cli {

bool CliSession::Connect() {
  if (ctx.link_state.port_device.empty()) {
    std::fprintf(stderr,
                 "ecu-cli: no port chosen; give --port DEVICE or choose one in "
                 "the console's Comm menu\n");
    return false;
  }
  ctx.link.EnsureLink();
  if (ctx.link_state.demo_mode) {
    std::fprintf(stderr,
                 "ecu-cli: %s could not be opened; check the cable and that "
                 "no other program uses the port\n",
                 ctx.link_state.port_device.c_str());
    return false;
  }
  return true;
}

int CliSession::Finish() const {
  const int unanswered = ctx.link.unanswered();
  if (unanswered == 0) return kExitOk;
  if (ctx.link.lost()) {
    if (loss_reported) return kExitNoAnswer;
    std::fprintf(stderr, "ecu-cli: the port %s was lost (%s)\n",
                 ctx.link_state.port_device.c_str(),
                 ctx.link.lost_reason().c_str());
    return kExitNoAnswer;
  }
  std::fprintf(stderr, "ecu-cli: %d transaction%s went unanswered\n",
               unanswered, unanswered == 1 ? "" : "s");
  return kExitNoAnswer;
}

}  // namespace ecu::cli

#ifndef ECU_APP_CLI_CLI_PROMPTS_H_
#define ECU_APP_CLI_CLI_PROMPTS_H_

#include <functional>
#include <utility>

#include "core/platform/event_pump.h"
#include "core/platform/prompts.h"

namespace ecu::cli {

// Message boxes become lines on stderr; questions take their default button
// and say so; file dialogs are never needed (names come on the command line)
// and count as cancelled.
class StderrPrompts : public Prompts {
 public:
  Answer Show(const Message& box) override;
  std::string OpenFileName(const FileDialog& dialog) override;
  std::string SaveFileName(const FileDialog& dialog) override;

  int messages_shown() const { return messages_shown_; }
  // The command line itself is the user's go-ahead (ecu-cli flash): a
  // question gets its first button, OK or Yes, instead of the safe default.
  void set_confirmed(bool confirmed) { confirmed_ = confirmed; }
  // Runs before each message, e.g. to clear a progress bar's line.
  void set_before_message(std::function<void()> hook) {
    before_message_ = std::move(hook);
  }

 private:
  int messages_shown_ = 0;
  bool confirmed_ = false;
  std::function<void()> before_message_;
};

// There are no windows to serve.
class NoEventPump : public EventPump {
 public:
  void ProcessPending() override {}
  void WaitAndProcess(double) override {}
};

}  // namespace ecu::cli

#endif  // ECU_APP_CLI_CLI_PROMPTS_H_

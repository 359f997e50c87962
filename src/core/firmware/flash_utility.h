#ifndef ECU_CORE_FIRMWARE_FLASH_UTILITY_H_
#define ECU_CORE_FIRMWARE_FLASH_UTILITY_H_

#include <functional>
#include <string>
#include <vector>

#include "core/firmware/flash_controls.h"
#include "core/firmware/line_sender.h"
#include "core/firmware/loader_terminal.h"
#include "core/link/link_state.h"
#include "core/platform/clock.h"
#include "core/platform/event_pump.h"
#include "core/platform/prompts.h"
#include "core/platform/serial_port.h"

namespace ecu {

// What the flash utility talks through. The port is its own, not the main
// link's: the main window closes its port before the utility opens.
struct FlashPlatform {
  SerialPort& port;
  Clock& clock;
  Prompts& prompts;
  EventPump& pump;
};

// How a press of "Flash Program" ended.
enum class FlashOutcome {
  kCancelled,    // the warning or the open dialog was cancelled
  kNoPort,       // the port could not be opened
  kNotReady,     // the loader did not answer "B" in time
  kBadFile,      // the file was empty or could not be read
  kCompleted,    // every line sent, no "E" from the loader
  kLoaderError,  // the loader sent "E"
  kHalted,       // "Halt Flashing" stopped the run or the final wait
  kLineLost,     // the port closed or stopped sending during the run
  kBusy,         // a procedure was already running
};

inline constexpr char kFlashUtilityTitle[] = "Tarnvel Flash Utility";
inline constexpr char kFlashWarning[] =
    "The reflash opperation requires that ALL other applications be halted, "
    "or errors may occur. Press Cancel if you need to halt other "
    "applications";
inline constexpr char kNotReadyMessage[] =
    "The controller doesnt appear to be ready to reflash, prepare it from the "
    "System Console Tool menu.";
inline constexpr char kFlashErrorMessage[] =
    "An error has occurred durring the program Flash opperation, you must "
    "Flash the controller again.";

// sflash: sends a firmware file line by line to the ECU's loader, watches
// what the loader prints, and reacts to its "B" (ready) and "E" (error).
// The window (or ecu-cli) forwards its events here and shows controls()
// and terminal() whenever changed() is called.
class FlashUtility {
 public:
  // `link` gives the port the console uses; `exited` (optional) is told
  // when the utility exits, so the console can drop its live window.
  FlashUtility(const FlashPlatform& platform, const LinkState& link,
               std::function<void()> exited = nullptr);

  // The window became active: "Halt Flashing" off, then Monitor Check.
  // Ignored while a procedure runs, which a "q" would spoil.
  void Activate();
  // Command3: opens the port if need be, clears the terminal, sends "q".
  void MonitorCheck();
  // Command2: noticed before the next line is sent.
  void Halt() { halt_request_ = true; }
  // Command1: the whole procedure, from the warning to the idle buttons.
  FlashOutcome FlashProgram();
  // Timer1, every 100 ms: prints what the loader sent and notes its "B"
  // and "E".
  void ReceiveLoaderOutput();
  // exit_flash: closes the port and sets LiveWindowMode 0; the window then
  // hides and the main window returns.
  void Exit();

  // The user's edits of the delay controls.
  void SetLineDelayTicked(bool ticked) { controls_.line_delay_ticked = ticked; }
  void SetLineDelayText(std::string text) {
    controls_.line_delay_text = std::move(text);
  }
  void SetCharDelayTicked(bool ticked) { controls_.char_delay_ticked = ticked; }
  void SetCharDelayText(std::string text) {
    controls_.char_delay_text = std::move(text);
  }

  const FlashControls& controls() const { return controls_; }
  LoaderTerminal& terminal() { return terminal_; }
  const LoaderTerminal& terminal() const { return terminal_; }
  bool monitor_ready() const { return monitor_ready_; }
  bool flash_error() const { return flash_error_; }
  bool halt_request() const { return halt_request_; }
  int lines_counter() const { return lines_counter_; }
  bool running() const { return running_; }

  // Called after every change a view should show.
  void set_changed(std::function<void()> changed) {
    changed_ = std::move(changed);
  }
  // Called after each counted line with (lines sent, lines to count).
  void set_progress(std::function<void(int, int)> progress) {
    progress_ = std::move(progress);
  }

 private:
  // Opens the utility's port on the console's port choice; an open port is
  // not touched. False (after telling the user) when it cannot be opened.
  bool EnsureFlashPort();
  // Lets window messages run (the halt button, the delay controls) and
  // takes the loader's output, as Timer1 would meanwhile.
  void ProcessMessages();
  // Waits `seconds` while processing messages; returns early once `done`.
  void WaitProcessing(double seconds, const std::function<bool()>& done);
  // Steps 6 to 13 for a file already read.
  FlashOutcome SendFile(const std::vector<std::string>& lines);
  void SetIdleButtons(bool idle);
  void Changed();

  SerialPort& port_;
  Clock& clock_;
  Prompts& prompts_;
  EventPump& pump_;
  const LinkState& link_;
  std::function<void()> exited_;
  LineSender sender_;

  FlashControls controls_;
  LoaderTerminal terminal_;
  bool monitor_ready_ = false;  // MonitorReady
  bool flash_error_ = false;    // FlashError
  bool halt_request_ = false;   // HaltRequest
  int lines_counter_ = 0;
  bool running_ = false;
  std::function<void()> changed_;
  std::function<void(int, int)> progress_;
};

}  // namespace ecu

#endif  // ECU_CORE_FIRMWARE_FLASH_UTILITY_H_

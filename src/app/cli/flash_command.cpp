#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <memory>
#include <optional>

#include "app/cli/cli_commands.h"
#include "app/cli/stop_signals.h"
#include "app/command_line/checked_options.h"
#include "core/firmware/firmware_file.h"
#include "core/firmware/flash_utility.h"
#include "core/link/controller_commands.h"
#include "core/link/frame.h"
#include "qt/qt_serial_port.h"

namespace ecu::cli {
namespace {

struct FlashArguments {
  std::string file;
  std::optional<double> line_delay;
  std::optional<double> char_delay;
  bool prepare = false;
};

// The delay as the utility's text box would hold it, read back exactly.
std::string DelayText(double seconds) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, seconds).ptr;
  return std::string(text, end);
}

// Ctrl-C (or a polite kill) while flashing is the halt button: the signals
// are held back and looked at whenever the utility lets messages run.
class HaltOnSignals : public EventPump {
 public:
  void set_utility(FlashUtility* utility) { utility_ = utility; }
  // Set by a signal that came before the lines started to go out.
  bool interrupted() const { return interrupted_; }

  void ProcessPending() override {
    if (handled_ || utility_ == nullptr || !stop_.Requested()) return;
    handled_ = true;
    if (utility_->controls().halt_enabled) {
      std::fprintf(stderr, "\necu-cli: halting before the next line\n");
      utility_->Halt();
    } else {
      // There is no halt button yet: the open dialog is cancelled instead.
      interrupted_ = true;
    }
  }
  void WaitAndProcess(double) override { ProcessPending(); }

 private:
  StopSignals stop_;
  FlashUtility* utility_ = nullptr;
  bool handled_ = false;
  bool interrupted_ = false;
};

// The message boxes as ecu-cli shows them, with the firmware file as the
// answer to the open dialog, unless Ctrl-C came first.
class FlashPrompts : public Prompts {
 public:
  FlashPrompts(Prompts& inner, const HaltOnSignals& halt, std::string file)
      : inner_(inner), halt_(halt), file_(std::move(file)) {}
  Answer Show(const Message& box) override { return inner_.Show(box); }
  std::string OpenFileName(const FileDialog&) override {
    return halt_.interrupted() ? "" : file_;
  }
  std::string SaveFileName(const FileDialog&) override { return ""; }

 private:
  Prompts& inner_;
  const HaltOnSignals& halt_;
  std::string file_;
};

// A bar on a terminal; a line every tenth of the way otherwise.
class ProgressBar {
 public:
  ProgressBar() : on_terminal_(isatty(STDERR_FILENO) == 1) {}

  void Show(int done, int total) {
    const int width = 40;
    const int step = total > 0 ? done * (on_terminal_ ? width : 10) / total
                               : (on_terminal_ ? width : 10);
    if (step == last_step_) return;
    last_step_ = step;
    if (on_terminal_) {
      std::fprintf(stderr, "\r[%-*s] %d/%d lines", width,
                   std::string(static_cast<size_t>(step), '#').c_str(), done,
                   total);
    } else {
      std::fprintf(stderr, "flash: %d%% (%d/%d lines)\n", step * 10, done,
                   total);
    }
    std::fflush(stderr);
  }
  void End() {
    if (on_terminal_ && last_step_ >= 0) std::fputc('\n', stderr);
  }

 private:
  bool on_terminal_;
  int last_step_ = -1;
};

const char* OutcomeText(FlashOutcome outcome) {
  switch (outcome) {
    case FlashOutcome::kCompleted:
      return "every line sent; the loader raised no error";
    case FlashOutcome::kLoaderError:
      return "the loader reported an error";
    case FlashOutcome::kHalted:
      return "halted";
    case FlashOutcome::kNotReady:
      return "no loader answered";
    case FlashOutcome::kNoPort:
      return "the port could not be opened";
    case FlashOutcome::kBadFile:
      return "the firmware file could not be used";
    case FlashOutcome::kLineLost:
      return "the line was lost while sending";
    case FlashOutcome::kCancelled:
    case FlashOutcome::kBusy:
      break;
  }
  return "nothing was sent";
}

// The Tool menu's "Prepare to Re-&Flash" after its question was answered
// OK. False when the controller did not confirm.
bool PrepareController(CliSession& s) {
  if (!s.Connect()) return false;
  s.ctx.link.TouchReceiveTime();
  if (!RequestReflash(s.ctx.link).answered() ||
      !s.ctx.controller.flash_utility_enabled) {
    std::fprintf(stderr,
                 "ecu-cli: the controller did not confirm it is ready to "
                 "re-flash\n");
    return false;
  }
  return true;
}

// The flash utility's procedure without its window, with a progress bar.
// Ctrl-C halts before the next line. Exit 0 when every line went out and
// the loader raised no error; 1 on "E", a halt, no loader or a bad file.
int RunFlash(CliSession& s, const FlashArguments* parsed) {
  // Checked before the controller is touched, so a wrong name costs nothing.
  if (!ReadFirmwareLines(parsed->file)) {
    std::fprintf(stderr, "ecu-cli: %s is empty or could not be read\n",
                 parsed->file.c_str());
    return kExitNoAnswer;
  }
  if (s.ctx.link_state.port_device.empty()) {
    std::fprintf(stderr,
                 "ecu-cli: no port chosen; give --port DEVICE or choose one in "
                 "the console's Comm menu\n");
    return kExitNoAnswer;
  }
  if (parsed->prepare) {
    if (!PrepareController(s)) return kExitNoAnswer;
    // The loader is reached through the utility's own port, as in the
    // console.
    s.ctx.port.Close();
  }

  QtSerialPort port;
  HaltOnSignals pump;
  FlashPrompts prompts(s.prompts, pump, parsed->file);
  FlashUtility utility(FlashPlatform{port, s.clock, prompts, pump},
                       s.ctx.link_state);
  pump.set_utility(&utility);
  if (parsed->line_delay) {
    utility.SetLineDelayTicked(true);
    utility.SetLineDelayText(DelayText(*parsed->line_delay));
  }
  if (parsed->char_delay) {
    utility.SetCharDelayTicked(true);
    utility.SetCharDelayText(DelayText(*parsed->char_delay));
  }
  utility.terminal().set_echo([](std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
  });
  ProgressBar bar;
  utility.set_progress([&bar](int done, int total) { bar.Show(done, total); });

  // Asking for the flash on the command line answers its warning.
  s.prompts.set_confirmed(true);
  const FlashOutcome outcome = utility.FlashProgram();
  s.prompts.set_confirmed(false);
  bar.End();
  std::fputc('\n', stdout);
  port.Close();
  std::fprintf(stderr, "ecu-cli: flash: %s (%d lines counted)\n",
               OutcomeText(outcome), utility.lines_counter());
  return outcome == FlashOutcome::kCompleted ? kExitOk : kExitNoAnswer;
}

}  // namespace

void AddFlashCommand(CliCommands& commands) {
  auto parsed = std::make_shared<FlashArguments>();
  CLI::App* flash = commands.Add(
      "flash",
      "Write new firmware through the controller's loader; Ctrl+C halts "
      "before the next line",
      [parsed](CliSession& s) { return RunFlash(s, parsed.get()); });
  flash->add_option("FILE.S", parsed->file, "the firmware (S-records)")
      ->required()
      ->type_name("");
  // The delays slow the line for a loader that cannot keep up; beyond a
  // few seconds they only make a flash take days.
  command_line::AddSeconds(
      *flash, "--line-delay", 10,
      [parsed](double s) { parsed->line_delay = s; },
      "pause after each line (the utility's \"Add line dly.\")");
  command_line::AddSeconds(
      *flash, "--char-delay", 1, [parsed](double s) { parsed->char_delay = s; },
      "pause after each character, lines ended by CR LF");
  flash->add_flag("--prepare", parsed->prepare,
                  "stop the controller first, as the Tool menu's \"Prepare "
                  "to Re-Flash\"");
}

}  // namespace ecu::cli

#include "core/firmware/flash_utility.h"

#include <algorithm>

#include "core/firmware/firmware_file.h"
#include "core/numbers/number_format.h"

namespace ecu {
namespace {

constexpr char kInitialName[] = "*.S";
// How long the loader has to answer "q" before the readiness check fails.
constexpr double kReadySeconds = 0.25;
// After the last line, the loader's answer to the last record gets the same.
constexpr double kLastRecordSeconds = 0.25;

// Marks a procedure as running for as long as it does.
class RunningScope {
 public:
  explicit RunningScope(bool& running) : running_(running) { running_ = true; }
  ~RunningScope() { running_ = false; }

 private:
  bool& running_;
};

FileDialog FirmwareFileDialog() {
  FileDialog dialog;
  dialog.filter = "Setup Files (*.s)|";
  dialog.default_extension = "s";
  dialog.initial_name = kInitialName;
  return dialog;
}

}  // namespace

FlashUtility::FlashUtility(const FlashPlatform& platform, const LinkState& link,
                           std::function<void()> exited)
    : port_(platform.port),
      clock_(platform.clock),
      prompts_(platform.prompts),
      pump_(platform.pump),
      link_(link),
      exited_(std::move(exited)),
      sender_(platform.port, platform.clock) {}

void FlashUtility::Activate() {
  if (running_) return;
  controls_.halt_enabled = false;
  Changed();
  MonitorCheck();
}

void FlashUtility::MonitorCheck() {
  if (running_) return;
  if (!EnsureFlashPort()) return;
  terminal_.Clear();
  port_.Write("q");
  Changed();
}

void FlashUtility::ReceiveLoaderOutput() {
  if (!port_.IsOpen()) return;
  const std::string bytes = port_.ReadAll();
  if (bytes.empty()) return;
  for (const char c : bytes) {
    switch (c) {
      case '\n':
        break;
      case '\r':
        terminal_.NewLine();
        break;
      case 'B':
        terminal_.Print("B");
        monitor_ready_ = true;
        break;
      case 'E':
        flash_error_ = true;
        terminal_.Print("E");
        break;
      default:
        terminal_.Print(std::string_view(&c, 1));
        break;
    }
  }
  Changed();
}

void FlashUtility::Exit() {
  if (running_) return;
  port_.Close();
  if (exited_) exited_();
  Changed();
}

FlashOutcome FlashUtility::FlashProgram() {
  // A click that arrives while the procedure processes messages must not
  // start a second run inside the first.
  if (running_) return FlashOutcome::kBusy;
  RunningScope running(running_);

  Message warning;
  warning.text = kFlashWarning;
  warning.buttons = Buttons::kOkCancel;
  // OK goes on to write new firmware: Enter says Cancel.
  warning.default_button = 1;
  if (prompts_.Show(warning) != Answer::kOk) return FlashOutcome::kCancelled;

  if (!EnsureFlashPort()) return FlashOutcome::kNoPort;
  monitor_ready_ = false;
  terminal_.Clear();
  port_.Write("q");
  Changed();
  WaitProcessing(kReadySeconds, nullptr);
  if (!monitor_ready_) {
    prompts_.Tell(kNotReadyMessage);
    return FlashOutcome::kNotReady;
  }

  const std::string name = prompts_.OpenFileName(FirmwareFileDialog());
  if (name.empty() || name == kInitialName) return FlashOutcome::kCancelled;
  // Read before anything changes, so a bad file leaves the utility idle.
  const std::optional<std::vector<std::string>> lines = ReadFirmwareLines(name);
  if (!lines) {
    prompts_.Tell("The firmware file " + name +
                  " is empty or could not be read. Nothing was sent.");
    return FlashOutcome::kBadFile;
  }
  return SendFile(*lines);
}

FlashOutcome FlashUtility::SendFile(const std::vector<std::string>& lines) {
  controls_.flash_program_enabled = false;
  terminal_.Clear();
  terminal_.Print("Flashing controller firmware.");
  terminal_.NewLine();
  terminal_.Print("Please stand by.");
  SetIdleButtons(false);
  bool line_lost = !EnsureFlashPort();
  flash_error_ = line_lost;
  halt_request_ = false;
  bool halted = false;
  lines_counter_ = 0;
  controls_.lines_sent = "0";
  Changed();

  const int to_count = static_cast<int>(lines.size()) - 1;
  if (!line_lost) {
    if (sender_.WaitForRoom()) {
      sender_.SendFirstLine(lines.front());
    } else {
      line_lost = flash_error_ = true;
    }
  }
  size_t next = 1;
  while (!flash_error_) {
    if (next >= lines.size()) break;
    ProcessMessages();
    const std::string& line = lines[next++];
    if (!sender_.WaitForRoom()) {
      line_lost = flash_error_ = true;
      break;
    }
    if (halt_request_) {
      halted = flash_error_ = true;
      break;
    }
    sender_.SendLine(line, controls_);
    ++lines_counter_;
    controls_.lines_sent = GeneralText(lines_counter_);
    if (progress_) progress_(lines_counter_, to_count);
    Changed();
    ProcessMessages();
  }
  if (!flash_error_) {
    // The last records may still be on their way (in the adapter, or in a
    // terminal that takes bytes faster than the line carries them): listen
    // until the line has carried them all and the loader has had time to
    // answer, so an "E" for them is not missed.
    WaitProcessing(sender_.SecondsUntilCarried() + kLastRecordSeconds, [this] {
      return flash_error_ || halt_request_ || !port_.IsOpen();
    });
    // A port lost meanwhile took the last records with it.
    if (!port_.IsOpen()) line_lost = flash_error_ = true;
    // A halt now only stops the listening: every line has gone out, so it
    // is no error, but the run cannot be called complete either.
    halted = !flash_error_ && halt_request_;
  }

  if (flash_error_) prompts_.Tell(kFlashErrorMessage);
  SetIdleButtons(true);
  controls_.flash_program_enabled = true;
  Changed();
  if (halted) return FlashOutcome::kHalted;
  if (line_lost) return FlashOutcome::kLineLost;
  return flash_error_ ? FlashOutcome::kLoaderError : FlashOutcome::kCompleted;
}

bool FlashUtility::EnsureFlashPort() {
  if (port_.IsOpen()) return true;
  if (!link_.port_device.empty() && port_.Open(link_.port_device)) return true;
  prompts_.Tell(link_.port_device.empty()
                    ? std::string("No Comm Port has been chosen; choose one in "
                                  "the System Console's Comm menu.")
                    : "Comm Port " + link_.port_device +
                          " could not be opened for the flash utility.");
  return false;
}

void FlashUtility::ProcessMessages() {
  pump_.ProcessPending();
  ReceiveLoaderOutput();
}

void FlashUtility::WaitProcessing(double seconds,
                                  const std::function<bool()>& done) {
  seconds = BoundedTimedWait(seconds);
  const float start = clock_.SecondsSinceMidnight();
  for (;;) {
    ProcessMessages();
    if (done && done()) return;
    const double left =
        seconds - ElapsedSince(start, clock_.SecondsSinceMidnight());
    if (left < 0) return;
    // Wake for the loader's bytes at once, and for the window at least
    // every 50 ms.
    const double slice = std::min(left + 0.001, 0.05);
    if (port_.IsOpen()) {
      port_.WaitForReadyRead(slice);
    } else {
      clock_.Sleep(slice);
    }
  }
}

void FlashUtility::SetIdleButtons(bool idle) {
  controls_.exit_enabled = idle;
  controls_.monitor_check_enabled = idle;
  controls_.halt_enabled = !idle;
}

void FlashUtility::Changed() {
  if (changed_) changed_();
}

}  // namespace ecu

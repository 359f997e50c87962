#ifndef ECU_CORE_CONSOLE_FILE_COMMANDS_H_
#define ECU_CORE_CONSOLE_FILE_COMMANDS_H_

#include "core/calibration/setup_file_run.h"
#include "core/ecu_context.h"

namespace ecu {

// The console while a setup file runs: the busy pointer, the disabled main
// window and the progress window frm_wait.
class BusyView {
 public:
  virtual ~BusyView() = default;
  // Busy pointer, fill at its stub, frm_wait shown, main window disabled.
  virtual void BeginBusy() = 0;
  // The fill as a fraction (0..1) of the frame's width.
  virtual void ShowProgress(double fraction) = 0;
  virtual void EndBusy() = 0;
  // Asked between the steps of a run: true ends it there. The console's
  // wait window has no such button; ecu-cli stops on Ctrl-C.
  virtual bool StopRequested() { return false; }
};

// The frame of the progress bar is 5055 twips wide; a run starts with a
// stub of 30.
inline constexpr double kProgressStub = 30.0 / 5055.0;

// The two setup-file commands of the File menu.
class FileCommands {
 public:
  FileCommands(EcuContext& ctx, BusyView& busy) : ctx_(ctx), busy_(busy) {}

  // "&Upload Calibration File To ECU": the configuration read, the open
  // dialog, then the load.
  SetupFileReport Open();
  // "&Dowload ECU To Calibration File": the save dialog, then the save.
  SetupFileReport Save();

  // The upload of a file named without the dialog (the command line).
  SetupFileReport OpenNamed(const std::string& name);

  // The steps after the dialogs, for callers that already have a name
  // (ecu-cli). A load wants the configuration read first.
  void ReadConfiguration();
  SetupFileReport LoadFile(const std::string& name);
  SetupFileReport SaveFile(const std::string& name);

  // The dialog settings both commands use.
  static FileDialog SetupFileDialog(bool saving);

 private:
  EcuContext& ctx_;
  BusyView& busy_;
};

}  // namespace ecu

#endif  // ECU_CORE_CONSOLE_FILE_COMMANDS_H_

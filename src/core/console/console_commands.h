#ifndef ECU_CORE_CONSOLE_CONSOLE_COMMANDS_H_
#define ECU_CORE_CONSOLE_CONSOLE_COMMANDS_H_

#include <memory>
#include <string>

#include "core/console/file_commands.h"
#include "core/console/views.h"
#include "core/ecu_context.h"

namespace ecu {

// What the main window's menus and buttons do. The window forwards its
// events here; anything that needs the link waits until the link is idle.
class ConsoleCommands {
 public:
  ConsoleCommands(EcuContext& ctx, Views& views, std::string config_folder)
      : ctx_(ctx), views_(views), config_folder_(std::move(config_folder)) {}

  // File menu: load a setup file into the ECU, save the ECU to one.
  void set_file_commands(std::unique_ptr<FileCommands> files) {
    files_ = std::move(files);
  }
  void OpenSetupFile();
  // The upload of a setup file named on the command line.
  void LoadSetupFile(const std::string& name);
  void SaveSetupFile();
  // A View entry or launcher button.
  void OpenView(View view);
  // File "e&xit" and the exit button: true when the user confirmed.
  bool ConfirmExit();
  // Comm menu entries 1..6, and a typed device path.
  void SelectPort(int n);
  bool SelectPortDevice(const std::string& device);
  // Tool menu.
  void Reset();
  void PrepareToReflash();
  // About: makes the link ready, then `show` makes the box visible.
  void ShowAbout(std::function<void()> show);
  // The about box became active: ask for the identification again.
  void ReadIdentification();

  const std::string& config_folder() const { return config_folder_; }

 private:
  EcuContext& ctx_;
  Views& views_;
  std::string config_folder_;
  std::unique_ptr<FileCommands> files_;
};

}  // namespace ecu

#endif  // ECU_CORE_CONSOLE_CONSOLE_COMMANDS_H_

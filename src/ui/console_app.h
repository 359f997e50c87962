#ifndef ECU_UI_CONSOLE_APP_H_
#define ECU_UI_CONSOLE_APP_H_

#include <QPixmap>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/console/console_commands.h"
#include "core/console/demo_simulation.h"
#include "core/console/polling_loop.h"
#include "core/console/views.h"
#include "core/ecu_context.h"
#include "core/readouts/monitor_text.h"

namespace ecu {

class AboutWindow;
class AdvisorTools;
class FlashUtility;
class FlashUtilityWindow;
class WaitWindow;
class Workbench;
class MainWindow;
class MonitorWindow;
class ViewWindow;
class ConsoleApp;

// Makes the window of a view, or nullptr for a view this build lacks. One
// case per window, in view_factory.cpp.
std::unique_ptr<ViewWindow> MakeViewWindow(View view, ConsoleApp& app);

// Where the console finds and keeps its files.
struct ConsoleFolders {
  std::string start_up;  // OEM.JPG, OEM.TXT, debug.ini: the current folder
  std::string config;    // port.cfg
};

// What the console talks through; main() passes the Qt implementations,
// tests their doubles.
struct ConsolePlatform {
  SerialPort& port;
  Clock& clock;
  Prompts& prompts;
  EventPump& pump;
  // Makes the flash utility's own port on first use; may be empty when a
  // port is given with set_flash_port before then.
  std::function<std::unique_ptr<SerialPort>()> make_flash_port;
};

// The whole console: records, windows and the polling loop.
class ConsoleApp : public WindowHost {
 public:
  ConsoleApp(const ConsolePlatform& platform,
             const std::vector<std::string>& arguments,
             const ConsoleFolders& folders);
  ~ConsoleApp() override;

  // Shows the main window and runs the loop until it closes.
  int Run();

  // A file named on the command line, opened once the main window is up.
  void set_file_to_open(std::string path) { file_to_open_ = std::move(path); }
  // Offers what can be done with a setup file or data log, and does it.
  void OpenFile(const std::string& path);

  // WindowHost
  void ShowView(View view) override;
  void HideView(View view) override;
  void ShowMain() override;
  void HideMain() override;
  bool HasView(View view) const override;

  EcuContext& context() { return ctx_; }
  MonitorText& monitor_text() { return monitor_text_; }
  Views& views() { return views_; }
  const ConsoleFolders& folders() const { return folders_; }
  const QPixmap& oem_picture() const { return oem_picture_; }
  MainWindow& main_window() { return *main_; }
  MonitorWindow& monitor() { return *monitor_; }
  // The window of a view, or nullptr when this build has none.
  ViewWindow* WindowOf(View view) const;
  AboutWindow& about() { return *about_; }
  // Tool menu "Flash &Utility": closes the main link's port, hides the main
  // window and shows sflash, made on first use.
  void ShowFlashUtility();
  // The flash utility's own serial port: one from the platform's factory
  // unless another is given before the utility is first opened.
  void set_flash_port(SerialPort* port) { flash_port_ = port; }
  // sflash, or nullptr before its first use.
  FlashUtilityWindow* flash_utility() { return flash_window_.get(); }
  WaitWindow& wait_window() { return *wait_; }
  Workbench& workbench() { return *workbench_; }
  AdvisorTools& advisor_tools() { return *advisor_tools_; }
  PollingLoop& loop() { return loop_; }
  ConsoleCommands& commands() { return commands_; }
  const bool& stop() const;

 private:
  void ShowAbout();

  EcuContext ctx_;
  MonitorText monitor_text_;
  Views views_{ctx_, *this, monitor_text_};
  ConsoleCommands commands_;
  DemoSimulation demo_;
  PollingLoop loop_{ctx_, views_, monitor_text_, demo_};
  ConsoleFolders folders_;
  QPixmap oem_picture_;
  std::array<std::unique_ptr<ViewWindow>, kViewCount> windows_;
  MonitorWindow* monitor_ = nullptr;
  std::string file_to_open_;
  std::unique_ptr<AboutWindow> about_;
  std::unique_ptr<WaitWindow> wait_;
  std::unique_ptr<MainWindow> main_;
  std::unique_ptr<Workbench> workbench_;
  std::unique_ptr<AdvisorTools> advisor_tools_;
  std::function<std::unique_ptr<SerialPort>()> make_flash_port_;
  SerialPort* flash_port_ = nullptr;
  std::unique_ptr<SerialPort> owned_flash_port_;
  std::unique_ptr<FlashUtility> flash_;
  std::unique_ptr<FlashUtilityWindow> flash_window_;
  // Last, so it ends before the windows it points into.
  Subscription about_identification_;
};

}  // namespace ecu

#endif  // ECU_UI_CONSOLE_APP_H_

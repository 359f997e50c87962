#ifndef ECU_UI_CONSOLE_APP_H_
#define ECU_UI_CONSOLE_APP_H_

#include <QPixmap>
#include <memory>
#include <string>
#include <vector>

#include "core/console/console_commands.h"
#include "core/console/demo_simulation.h"
#include "core/console/monitor_text.h"
#include "core/console/polling_loop.h"
#include "core/console/views.h"
#include "core/ecu_context.h"
#include "qt/qt_event_pump.h"
#include "qt/qt_prompts.h"
#include "qt/qt_serial_port.h"
#include "qt/system_clock.h"

namespace ecu {

class AboutWindow;
class MainWindow;
class MonitorWindow;
class ViewWindow;

// Where the console finds and keeps its files.
struct ConsoleFolders {
  std::string start_up;  // OEM.JPG, OEM.TXT, debug.ini: the current folder
  std::string config;    // port.cfg
};

// The whole console: platform, records, windows and the polling loop.
class ConsoleApp : public WindowHost {
 public:
  ConsoleApp(const std::vector<std::string>& arguments,
             const ConsoleFolders& folders);
  ~ConsoleApp() override;

  // Shows the main window and runs the loop until it closes.
  int Run();

  // WindowHost
  void ShowView(View view) override;
  void HideView(View view) override;
  void ShowMain() override;
  void HideMain() override;
  bool HasView(View view) const override;

  EcuContext& context() { return ctx_; }
  MainWindow& main_window() { return *main_; }
  MonitorWindow& monitor() { return *monitor_; }
  AboutWindow& about() { return *about_; }
  PollingLoop& loop() { return loop_; }
  ConsoleCommands& commands() { return commands_; }
  const bool& stop() const;

 private:
  ViewWindow* WindowOf(View view) const;
  void ShowAbout();

  QtSerialPort port_;
  SystemClock clock_;
  QtPrompts prompts_;
  QtEventPump pump_;
  EcuContext ctx_{port_, clock_, prompts_, pump_};
  MonitorText monitor_text_;
  Views views_{ctx_, *this, monitor_text_};
  ConsoleCommands commands_;
  DemoSimulation demo_;
  PollingLoop loop_{ctx_, views_, monitor_text_, demo_};
  QPixmap oem_picture_;
  std::unique_ptr<MonitorWindow> monitor_;
  std::unique_ptr<AboutWindow> about_;
  std::unique_ptr<MainWindow> main_;
};

}  // namespace ecu

#endif  // ECU_UI_CONSOLE_APP_H_

#ifndef ECU_UI_WORKBENCH_H_
#define ECU_UI_WORKBENCH_H_

#include <QAction>
#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/console/console_commands.h"
#include "core/console/file_commands.h"
#include "core/ecu_context.h"
#include "core/link/ecu_detection.h"
#include "core/workbench/compare_model.h"

namespace ecu {

class CompareWindow;
class MainWindow;

// The tuning workbench beside the standard console: its windows, and its
// entries in the main window's menus, each after the standard ones
// ("Compare..." at the end of the File menu; the ports present and "Detect
// ECU" at the end of the Comm menu; a Units menu after the standard menus).
class Workbench : public QObject {
  Q_OBJECT

 public:
  using PortLister = std::function<std::vector<PresentPort>()>;

  // `config_folder` keeps units.cfg beside port.cfg; `units_changed` tells
  // the windows that show mixture.
  Workbench(EcuContext& ctx, ConsoleCommands& commands, MainWindow& main,
            BusyView& busy, std::string config_folder,
            std::function<void()> units_changed);
  ~Workbench() override;

  // "Compare...": the compare window, made on first use.
  void ShowCompare();
  // Shows the compare window with the ECU as A and `path` as B, and
  // compares them once the link is idle.
  void CompareWithEcu(const std::string& path);
  CompareWindow* compare_window() { return compare_window_.get(); }

  // "Detect ECU": tries the stored port and every present one in turn and
  // stores the first that answers, as "Other Port..." would.
  void DetectEcu();
  // Where the ports present come from (the system's list unless a test
  // gives its own).
  void set_port_lister(PortLister lister) { list_ports_ = std::move(lister); }

  // Units menu: lambda, or AFR for a fuel or a typed ratio. Stored in
  // units.cfg; the wire, setup files and data logs stay in lambda.
  void ChooseUnits(const MixtureUnits& units);
  void ChooseTypedRatio();

 private:
  void AddPortEntries();
  void AddUnitsMenu();
  void CheckUnits();
  void ListPresentPorts();

  EcuContext& ctx_;
  ConsoleCommands& commands_;
  MainWindow& main_;
  BusyView& busy_;
  PortLister list_ports_;
  std::vector<QAction*> port_entries_;
  std::string config_folder_;
  std::function<void()> units_changed_;
  std::vector<std::pair<QAction*, MixtureUnits>> unit_entries_;
  QAction* typed_ratio_ = nullptr;
  CompareModel compare_;
  std::unique_ptr<CompareWindow> compare_window_;
};

}  // namespace ecu

#endif  // ECU_UI_WORKBENCH_H_

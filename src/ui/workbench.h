#ifndef ECU_UI_WORKBENCH_H_
#define ECU_UI_WORKBENCH_H_

#include <QObject>
#include <memory>

#include "core/console/file_commands.h"
#include "core/ecu_context.h"
#include "core/workbench/compare_model.h"

namespace ecu {

class CompareWindow;
class MainWindow;

// The tuning workbench beside the described console: its windows, and its
// entries in the main window's menus, each after the described ones
// ("Compare..." at the end of the File menu).
class Workbench : public QObject {
  Q_OBJECT

 public:
  Workbench(EcuContext& ctx, MainWindow& main, BusyView& busy);
  ~Workbench() override;

  // "Compare...": the compare window, made on first use.
  void ShowCompare();
  CompareWindow* compare_window() { return compare_window_.get(); }

 private:
  EcuContext& ctx_;
  MainWindow& main_;
  CompareModel compare_;
  std::unique_ptr<CompareWindow> compare_window_;
};

}  // namespace ecu

#endif  // ECU_UI_WORKBENCH_H_

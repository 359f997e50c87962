// Renders the console's windows offscreen, in demo mode, into PNG files for
// the documentation: ecu-screenshots OUTPUT_FOLDER [WINDOW...]

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTreeWidget>
#include <QWidget>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "core/firmware_rig.h"
#include "sim/calibration_memory.h"
#include "sim/memory_cells.h"
#include "sim/memory_dump.h"
#include "sim/memory_seed.h"
#include "support/sweep_log.h"
#include "support/temp_folder.h"
#include "ui/about_window.h"
#include "ui/advisor_tools.h"
#include "ui/advisor_window.h"
#include "ui/compare_window.h"
#include "ui/console_rig.h"
#include "ui/flash_utility_window.h"
#include "ui/fuel_map_window.h"
#include "ui/log_viewer_window.h"
#include "ui/monitor_window.h"
#include "ui/view_window.h"
#include "ui/workbench.h"

namespace {

// Basic Mapping in demo mode after the tuner raised a block of cells with
// the block modifier: the change marks, and a surface with some relief.
ecu::FuelMapWindow* FuelMapWithBlockEdit(ecu::testing::ConsoleRig& rig) {
  rig.Trigger("menu_View_Mapping");
  rig.StartLoop();
  QApplication::processEvents();
  auto* window =
      static_cast<ecu::FuelMapWindow*>(rig.app->WindowOf(ecu::View::kFuelMap));
  ecu::FuelMapEditor& editor = window->editor();
  editor.KeyPressed({ecu::kMapCells, 16 * 7 + 5},
                    {.key = ecu::EditorKey::kControl});
  editor.KeyPressed({ecu::kMapCells, 16 * 11 + 10},
                    {.key = ecu::EditorKey::kControl, .release = true});
  editor.modifier().multiply = "1.25";
  rig.prompts.QueueAnswer(ecu::Answer::kYes);
  editor.modifier().Press(ecu::BlockOperation::kMultiply);
  rig.Ticks(3);
  return window;
}

// Two setup files of one engine, the second richer in the mid-range with a
// higher rev limit and a warmer idle, compared in the compare window.
QWidget* CompareTwoFiles(ecu::testing::ConsoleRig& rig,
                         const ecu::testing::TempFolder& files) {
  ecu::sim::CalibrationMemory memory;
  ecu::sim::FillDefaultCalibration(memory);
  const std::string a =
      files.Write("BASE.SET", ecu::sim::SetupFileText(memory));
  const ecu::TableItem& map = *ecu::FindTable("MAPM");
  for (int column = 5; column <= 10; ++column) {
    for (int row = 4; row <= 11; ++row) {
      const int i = 16 * column + row;
      const int bump = 4 + 2 * (6 - std::abs(row - 8) - std::abs(column - 8));
      ecu::sim::SetCellValue(memory, map, i,
                             ecu::sim::CellValue(memory, map, i) + bump);
    }
  }
  memory.SetScalar("KILL_RPM", memory.ScalarOr("KILL_RPM", 0) + 40);
  ecu::sim::SetCellValue(memory, *ecu::FindTable("IDLE"), 0, 140);
  const std::string b =
      files.Write("TUNED.SET", ecu::sim::SetupFileText(memory));
  rig.Trigger("menu_file_compare");
  auto* window = rig.Find<ecu::CompareWindow>("frm_compare");
  window->findChild<QComboBox*>("compare_a_kind")->setCurrentIndex(1);
  window->findChild<QLineEdit*>("compare_a_path")
      ->setText(QString::fromStdString(a));
  window->findChild<QLineEdit*>("compare_b_path")
      ->setText(QString::fromStdString(b));
  window->findChild<QAbstractButton*>("compare_run")->click();
  return window;
}

// Four minutes of the sweeping virtual engine, its map up to 20 % off, in
// the log viewer: a minute in view, the cursor on a held cell.
ecu::LogViewerWindow* ViewSweepLog(ecu::testing::ConsoleRig& rig) {
  static ecu::testing::TempFolder files;
  const std::string log =
      files.Write("SWEEP.CSV", ecu::testing::SweepLogText(2400, 20));
  rig.ctx().live.FullScaleRpm = 10000;  // the sim's, not the demo's
  rig.app->advisor_tools().ViewLog(log);
  ecu::LogViewerWindow* viewer = rig.app->advisor_tools().log_viewer();
  ecu::LogViewModel& model = viewer->model();
  model.Zoom(0.25, model.first_s() + 120);
  model.PlaceCursor(model.view_begin() + 33.3);
  viewer->resize(1180, 560);
  viewer->chart()->update();
  QMetaObject::invokeMethod(viewer->chart(), "cursorMoved");
  return viewer;
}

// The sweep log advised against Basic Mapping's demo map.
ecu::AdvisorWindow* AdviseSweepLog(ecu::testing::ConsoleRig& rig) {
  rig.Trigger("menu_View_Mapping");
  rig.StartLoop();
  QApplication::processEvents();
  ecu::LogViewerWindow* viewer = ViewSweepLog(rig);
  rig.TriggerIn(viewer, "menu_log_advise");
  ecu::AdvisorWindow* advisor = rig.app->advisor_tools().advisor();
  advisor->resize(1240, 700);
  return advisor;
}

struct Shot {
  const char* name;
  std::function<QWidget*(ecu::testing::ConsoleRig&)> prepare;
};

const std::vector<Shot>& Shots() {
  static const std::vector<Shot> shots = {
      {"main-window",
       [](ecu::testing::ConsoleRig& rig) -> QWidget* {
         return &rig.app->main_window();
       }},
      {"monitor",
       [](ecu::testing::ConsoleRig& rig) -> QWidget* {
         rig.Trigger("Menu_View_Monitor");
         rig.StartLoop();
         rig.Ticks(3);
         return &rig.app->monitor();
       }},
      {"dashboard",
       [](ecu::testing::ConsoleRig& rig) -> QWidget* {
         rig.ctx().link.EnsureLink();
         rig.StartLoop();
         rig.Trigger("menu_view_dashboard");
         QApplication::processEvents();
         rig.Ticks(3);
         QWidget* window = rig.app->WindowOf(ecu::View::kDashboard);
         window->resize(860, 640);
         return window;
       }},
      {"plotter",
       [](ecu::testing::ConsoleRig& rig) -> QWidget* {
         rig.ctx().link.EnsureLink();
         rig.StartLoop();
         rig.Trigger("menu_View_Plotter");
         QApplication::processEvents();
         QWidget* window = rig.app->WindowOf(ecu::View::kPlotter);
         for (int i = 0; i < 8; ++i) {
           window->findChild<QAbstractButton*>(QString("Check3d1_%1").arg(i))
               ->click();
         }
         // Ten minutes of samples at one a second, with one stamp.
         for (int i = 0; i < 600; ++i) {
           rig.ctx().console.log_tick = true;
           rig.Ticks(1);
           rig.clock.Advance(1);
           if (i == 420) {
             QMetaObject::invokeMethod(window->findChild<QWidget*>("Strip"),
                                       "clicked");
           }
         }
         window->resize(900, 560);
         return window;
       }},
      {"additional-mapping",
       [](ecu::testing::ConsoleRig& rig) -> QWidget* {
         rig.Trigger("menu_view_temperature");
         rig.StartLoop();
         QApplication::processEvents();
         rig.Ticks(3);
         return rig.app->WindowOf(ecu::View::kCurves);
       }},
      {"supplementary",
       [](ecu::testing::ConsoleRig& rig) -> QWidget* {
         rig.Trigger("menu_View_supp");
         rig.StartLoop();
         QApplication::processEvents();
         rig.Ticks(3);
         return rig.app->WindowOf(ecu::View::kSupplementary);
       }},
      {"configuration",
       [](ecu::testing::ConsoleRig& rig) -> QWidget* {
         rig.Trigger("Menu_View_Injection");
         rig.StartLoop();
         QApplication::processEvents();
         QWidget* window = rig.app->WindowOf(ecu::View::kConfiguration);
         // The tuner has set a sequential phase matrix and a wide-band
         // sensor; the marks show what is not yet sent.
         for (int p = 0; p < 8; ++p) {
           window->findChild<QAbstractButton*>(QString("inj_ph_%1_%1").arg(p))
               ->click();
         }
         window->findChild<QAbstractButton*>("EGO_type_1")->click();
         return window;
       }},
      {"fuel-map",
       [](ecu::testing::ConsoleRig& rig) -> QWidget* {
         return FuelMapWithBlockEdit(rig);
       }},
      {"block-modifier",
       [](ecu::testing::ConsoleRig& rig) -> QWidget* {
         ecu::FuelMapWindow* window = FuelMapWithBlockEdit(rig);
         window->editor().KeyPressed({ecu::kMapCells, 16 * 2 + 3},
                                     {.key = ecu::EditorKey::kControl});
         window->editor().KeyPressed(
             {ecu::kMapCells, 16 * 6 + 9},
             {.key = ecu::EditorKey::kControl, .release = true});
         return window->modifier_window();
       }},
      {"surface-graph",
       [](ecu::testing::ConsoleRig& rig) -> QWidget* {
         ecu::FuelMapWindow* window = FuelMapWithBlockEdit(rig);
         window->editor().graph().Show();
         return window->graph_window();
       }},
      {"flash-utility",
       [](ecu::testing::ConsoleRig& rig) -> QWidget* {
         // A controller waiting in its loader, and a small firmware file
         // flashed to it through the utility's own port.
         rig.port.ecu()->controller().awaiting_firmware = true;
         rig.app->set_flash_port(&rig.port);
         rig.app->ShowFlashUtility();
         QWidget* window = rig.app->flash_utility();
         ecu::testing::TempFolder files;
         rig.prompts.QueueAnswer(ecu::Answer::kOk);
         rig.prompts.QueueFileName(
             files.WriteLines("FW.S", ecu::testing::FirmwareLines(40)));
         window->findChild<QAbstractButton*>("Command1")->click();
         return window;
       }},
      {"compare",
       [](ecu::testing::ConsoleRig& rig) -> QWidget* {
         static ecu::testing::TempFolder files;
         QWidget* window = CompareTwoFiles(rig, files);
         window->findChild<QTreeWidget*>("compare_list")
             ->topLevelItem(0)
             ->setCheckState(0, Qt::Checked);
         return window;
       }},
      {"compare-grids",
       [](ecu::testing::ConsoleRig& rig) -> QWidget* {
         static ecu::testing::TempFolder files;
         QWidget* window = CompareTwoFiles(rig, files);
         window->findChild<QTabWidget*>("compare_tabs")->setCurrentIndex(1);
         return window;
       }},
      {"log-viewer",
       [](ecu::testing::ConsoleRig& rig) -> QWidget* {
         return ViewSweepLog(rig);
       }},
      {"map-advisor",
       [](ecu::testing::ConsoleRig& rig) -> QWidget* {
         return AdviseSweepLog(rig);
       }},
      {"advisor-applied",
       [](ecu::testing::ConsoleRig& rig) -> QWidget* {
         AdviseSweepLog(rig)->Apply();
         QWidget* map = rig.app->WindowOf(ecu::View::kFuelMap);
         map->raise();
         return map;
       }},
      {"comm-menu",
       [](ecu::testing::ConsoleRig& rig) -> QWidget* {
         // An example USB adapter beside a built-in port.
         rig.app->workbench().set_port_lister([] {
           return std::vector<ecu::PresentPort>{
               {"/dev/ttyS0", "", "", std::nullopt, std::nullopt},
               {"/dev/ttyUSB0", "FT232R USB UART", "FTDI", 0x0403, 0x6001}};
         });
         auto* comm = rig.app->main_window().findChild<QMenu*>("menu_comm");
         comm->popup(rig.app->main_window().mapToGlobal(QPoint(60, 20)));
         return comm;
       }},
      {"about",
       [](ecu::testing::ConsoleRig& rig) -> QWidget* {
         rig.Trigger("menu_about");
         rig.app->commands().ReadIdentification();
         return &rig.app->about();
       }},
  };
  return shots;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: ecu-screenshots OUTPUT_FOLDER [WINDOW...]\n");
    return 2;
  }
  const QString folder = argv[1];
  QDir().mkpath(folder);
  std::vector<std::string> wanted(argv + 2, argv + argc);
  int failures = 0;
  for (const Shot& shot : Shots()) {
    if (!wanted.empty() &&
        std::find(wanted.begin(), wanted.end(), shot.name) == wanted.end()) {
      continue;
    }
    ecu::testing::ConsoleRig rig({"demo"});
    QWidget* window = shot.prepare(rig);
    QApplication::processEvents();
    const QString path = folder + "/" + shot.name + ".png";
    if (window == nullptr || !window->grab().save(path)) {
      std::fprintf(stderr, "could not render %s\n", shot.name);
      ++failures;
    } else {
      std::printf("%s\n", path.toLocal8Bit().constData());
    }
  }
  return failures == 0 ? 0 : 1;
}

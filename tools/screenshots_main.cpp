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

#include "core/console/data_log.h"
#include "core/firmware_rig.h"
#include "sim/calibration_memory.h"
#include "sim/memory_cells.h"
#include "sim/memory_dump.h"
#include "sim/memory_seed.h"
#include "sim/virtual_ecu.h"
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

namespace ecu::testing {
namespace {

// A view window opened from the View menu after three loop turns.
QWidget* Shown(ConsoleRig& rig, const char* entry, View view,
               bool loop_first = false) {
  QWidget* window = rig.OpenView(entry, view, loop_first);
  rig.Ticks(3);
  return window;
}

// Basic Mapping in demo mode after the tuner raised a block of cells with
// the block modifier: the change marks, and a surface with some relief.
FuelMapWindow* FuelMapWithBlockEdit(ConsoleRig& rig) {
  auto* window =
      rig.OpenView<FuelMapWindow>("menu_View_Mapping", View::kFuelMap);
  FuelMapEditor& editor = window->editor();
  editor.KeyPressed({kMapCells, 16 * 7 + 5}, {.key = EditorKey::kControl});
  editor.KeyPressed({kMapCells, 16 * 11 + 10},
                    {.key = EditorKey::kControl, .release = true});
  editor.modifier().multiply = "1.25";
  rig.prompts.QueueAnswer(Answer::kYes);
  editor.modifier().Press(BlockOperation::kMultiply);
  rig.Ticks(3);
  return window;
}

// Two setup files of one engine, the second richer in the mid-range with a
// higher rev limit and a warmer idle, compared in the compare window.
QWidget* CompareTwoFiles(ConsoleRig& rig, const TempFolder& files) {
  sim::CalibrationMemory memory;
  sim::FillDefaultCalibration(memory);
  const std::string a = files.Write("BASE.SET", sim::SetupFileText(memory));
  const TableItem& map = *FindTable("MAPM");
  for (int column = 5; column <= 10; ++column) {
    for (int row = 4; row <= 11; ++row) {
      const int i = 16 * column + row;
      const int bump = 4 + 2 * (6 - std::abs(row - 8) - std::abs(column - 8));
      sim::SetCellValue(memory, map, i, sim::CellValue(memory, map, i) + bump);
    }
  }
  memory.SetScalar("KILL_RPM", memory.ScalarOr("KILL_RPM", 0) + 40);
  sim::SetCellValue(memory, *FindTable("IDLE"), 0, 140);
  const std::string b = files.Write("TUNED.SET", sim::SetupFileText(memory));
  rig.Trigger("menu_file_compare");
  auto* window = rig.Find<CompareWindow>("frm_compare");
  window->findChild<QComboBox*>("compare_a_kind")->setCurrentIndex(1);
  window->findChild<QLineEdit*>("compare_a_path")
      ->setText(QString::fromStdString(a));
  window->findChild<QLineEdit*>("compare_b_path")
      ->setText(QString::fromStdString(b));
  window->findChild<QAbstractButton*>("compare_run")->click();
  return window;
}

// A data log of the virtual engine on its sweep (ecu-sim --drive sweep
// with --true-map-error `map_error_percent`), `samples` lines ten to the
// second from 10:00:00, written as the plotter writes them.
std::string SweepLogText(int samples, double map_error_percent) {
  sim::SimOptions options;
  options.drive = sim::DriveCycle::kSweep;
  options.true_map_error_percent = map_error_percent;
  sim::VirtualEcu ecu(options);
  sim::EngineModel& engine = ecu.engine();
  engine.set_ego_closed_loop(false);
  std::string text = LogHeader("12-07-2026");
  constexpr int kStart = 10 * 3600;
  for (int i = 0; i < samples; ++i) {
    engine.AdvanceTo(i * 0.1);
    const sim::EngineState& s = engine.state();
    LiveData live;
    live.RPM = static_cast<float>(s.rpm);
    live.Lambda = static_cast<float>(1 / s.gamma);
    live.CLT = static_cast<float>(s.clt_c);
    live.TPS = static_cast<float>(s.tps_percent);
    live.MAP = static_cast<float>(s.map_kpa);
    live.MAT = static_cast<float>(s.mat_c);
    live.PW = static_cast<float>(s.pw_ms / 1000);
    live.EgoCorrection = static_cast<float>(s.ego_correction);
    const int t = (kStart + i / 10) % 86400;
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", t / 3600, t / 60 % 60,
                  t % 60);
    text += LogDataLine(live, time);
  }
  return text;
}

// Four minutes of the sweeping virtual engine, its map up to 20 % off, in
// the log viewer: a minute in view, the cursor on a held cell.
LogViewerWindow* ViewSweepLog(ConsoleRig& rig) {
  static TempFolder files;
  const std::string log = files.Write("SWEEP.CSV", SweepLogText(2400, 20));
  rig.ctx().live.FullScaleRpm = 10000;  // the sim's, not the demo's
  rig.app->advisor_tools().ViewLog(log);
  LogViewerWindow* viewer = rig.app->advisor_tools().log_viewer();
  LogViewModel& model = viewer->model();
  model.Zoom(0.25, model.first_s() + 120);
  model.PlaceCursor(model.view_begin() + 33.3);
  viewer->resize(1180, 560);
  viewer->chart()->update();
  QMetaObject::invokeMethod(viewer->chart(), "cursorMoved");
  return viewer;
}

// The sweep log advised against Basic Mapping's demo map.
AdvisorWindow* AdviseSweepLog(ConsoleRig& rig) {
  rig.OpenView("menu_View_Mapping", View::kFuelMap);
  LogViewerWindow* viewer = ViewSweepLog(rig);
  rig.TriggerIn(viewer, "menu_log_advise");
  AdvisorWindow* advisor = rig.app->advisor_tools().advisor();
  advisor->resize(1240, 700);
  return advisor;
}

struct Shot {
  const char* name;
  std::function<QWidget*(ConsoleRig&)> prepare;
};

const std::vector<Shot>& Shots() {
  static const std::vector<Shot> shots = {
      {"main-window",
       [](ConsoleRig& rig) -> QWidget* { return &rig.app->main_window(); }},
      {"monitor",
       [](ConsoleRig& rig) -> QWidget* {
         return Shown(rig, "Menu_View_Monitor", View::kMonitor);
       }},
      {"dashboard",
       [](ConsoleRig& rig) -> QWidget* {
         QWidget* window =
             Shown(rig, "menu_view_dashboard", View::kDashboard, true);
         window->resize(860, 640);
         return window;
       }},
      {"plotter",
       [](ConsoleRig& rig) -> QWidget* {
         QWidget* window =
             rig.OpenView("menu_View_Plotter", View::kPlotter, true);
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
       [](ConsoleRig& rig) -> QWidget* {
         return Shown(rig, "menu_view_temperature", View::kCurves);
       }},
      {"supplementary",
       [](ConsoleRig& rig) -> QWidget* {
         return Shown(rig, "menu_View_supp", View::kSupplementary);
       }},
      {"configuration",
       [](ConsoleRig& rig) -> QWidget* {
         QWidget* window =
             rig.OpenView("Menu_View_Injection", View::kConfiguration);
         // The tuner has set a sequential phase matrix and a wide-band
         // sensor; the marks show what is not yet sent.
         for (int p = 0; p < 8; ++p) {
           window->findChild<QAbstractButton*>(QString("inj_ph_%1_%1").arg(p))
               ->click();
         }
         window->findChild<QAbstractButton*>("EGO_type_1")->click();
         return window;
       }},
      {"fuel-map", FuelMapWithBlockEdit},
      {"block-modifier",
       [](ConsoleRig& rig) -> QWidget* {
         FuelMapWindow* window = FuelMapWithBlockEdit(rig);
         window->editor().KeyPressed({kMapCells, 16 * 2 + 3},
                                     {.key = EditorKey::kControl});
         window->editor().KeyPressed(
             {kMapCells, 16 * 6 + 9},
             {.key = EditorKey::kControl, .release = true});
         return window->modifier_window();
       }},
      {"surface-graph",
       [](ConsoleRig& rig) -> QWidget* {
         FuelMapWindow* window = FuelMapWithBlockEdit(rig);
         window->editor().graph().Show();
         return window->graph_window();
       }},
      {"flash-utility",
       [](ConsoleRig& rig) -> QWidget* {
         // A controller waiting in its loader, and a small firmware file
         // flashed to it through the utility's own port.
         rig.port.ecu()->controller().awaiting_firmware = true;
         rig.app->set_flash_port(&rig.port);
         rig.app->ShowFlashUtility();
         QWidget* window = rig.app->flash_utility();
         TempFolder files;
         rig.prompts.QueueAnswer(Answer::kOk);
         rig.prompts.QueueFileName(files.WriteLines("FW.S", FirmwareLines(40)));
         window->findChild<QAbstractButton*>("Command1")->click();
         return window;
       }},
      {"compare",
       [](ConsoleRig& rig) -> QWidget* {
         static TempFolder files;
         QWidget* window = CompareTwoFiles(rig, files);
         window->findChild<QTreeWidget*>("compare_list")
             ->topLevelItem(0)
             ->setCheckState(0, Qt::Checked);
         return window;
       }},
      {"compare-grids",
       [](ConsoleRig& rig) -> QWidget* {
         static TempFolder files;
         QWidget* window = CompareTwoFiles(rig, files);
         window->findChild<QTabWidget*>("compare_tabs")->setCurrentIndex(1);
         return window;
       }},
      {"log-viewer", ViewSweepLog},
      {"map-advisor", AdviseSweepLog},
      {"advisor-applied",
       [](ConsoleRig& rig) -> QWidget* {
         AdviseSweepLog(rig)->Apply();
         QWidget* map = rig.app->WindowOf(View::kFuelMap);
         map->raise();
         return map;
       }},
      {"comm-menu",
       [](ConsoleRig& rig) -> QWidget* {
         // An example USB adapter beside a built-in port.
         rig.app->workbench().set_port_lister([] {
           return std::vector<PresentPort>{
               {"/dev/ttyS0", "", "", std::nullopt, std::nullopt},
               {"/dev/ttyUSB0", "FT232R USB UART", "FTDI", 0x0403, 0x6001}};
         });
         auto* comm = rig.app->main_window().findChild<QMenu*>("menu_comm");
         comm->popup(rig.app->main_window().mapToGlobal(QPoint(60, 20)));
         return comm;
       }},
      {"about",
       [](ConsoleRig& rig) -> QWidget* {
         rig.Trigger("menu_about");
         rig.app->commands().ReadIdentification();
         return &rig.app->about();
       }},
  };
  return shots;
}

}  // namespace
}  // namespace ecu::testing

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
  for (const ecu::testing::Shot& shot : ecu::testing::Shots()) {
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

#include "ui/console_app.h"

#include <QTimer>

#include "core/console/opened_file.h"
#include "core/console/startup_files.h"
#include "core/link/link_startup.h"
#include "ui/about_window.h"
#include "ui/advisor_tools.h"
#include "ui/flash_utility_window.h"
#include "ui/main_window.h"
#include "ui/monitor_window.h"
#include "ui/wait_window.h"
#include "ui/window_placement.h"
#include "ui/workbench.h"

namespace ecu {

ConsoleApp::ConsoleApp(const ConsolePlatform& platform,
                       const std::vector<std::string>& arguments,
                       const ConsoleFolders& folders)
    : ctx_(platform.port, platform.clock, platform.prompts, platform.pump),
      commands_(ctx_, views_, folders.config),
      folders_(folders),
      make_flash_port_(platform.make_flash_port) {
  // Start-up, in the order the console has always done it.
  ctx_.console.live_window_mode = View::kNone;
  StartLink(CommandLineText(arguments), folders.config, ctx_.link_state,
            ctx_.prompts);
  // The polling loop reopens a lost port by itself.
  ctx_.link.set_reconnects(true);
  ctx_.console.master_mode = MasterModeFileExists(folders.start_up);
  oem_picture_.load(QString::fromStdString(OemPicturePath(folders.start_up)));
  const QString oem_text =
      QString::fromLatin1(ReadOemText(folders.start_up).c_str());

  for (int v = 1; v < kViewCount; ++v) {
    const View view = static_cast<View>(v);
    windows_[static_cast<size_t>(v)] = MakeViewWindow(view, *this);
    if (ViewWindow* window = WindowOf(view)) {
      loop_.set_after_pass(view, [window] { window->AfterPollingPass(); });
      loop_.set_on_display(view, [window] { window->RefreshDisplay(); });
    }
  }
  // Switch entries only for windows that exist, so they come once all do.
  for (auto& window : windows_) {
    if (window) window->AddSwitchEntries();
  }
  monitor_ = static_cast<MonitorWindow*>(WindowOf(View::kMonitor));
  loop_.set_take_sample([this] {
    if (ViewWindow* plotter = WindowOf(View::kPlotter)) plotter->TakeSample();
  });
  about_ = std::make_unique<AboutWindow>(commands_, oem_picture_, oem_text);
  main_ = std::make_unique<MainWindow>(ctx_, commands_, *this, oem_picture_,
                                       [this] { ShowAbout(); });
  wait_ = std::make_unique<WaitWindow>(main_.get());
  commands_.set_file_commands(std::make_unique<FileCommands>(ctx_, *wait_));
  workbench_ = std::make_unique<Workbench>(ctx_, commands_, *main_, *wait_,
                                           folders.config, [this] {
                                             for (auto& window : windows_) {
                                               if (window)
                                                 window->UnitsChanged();
                                             }
                                           });
  advisor_tools_ = std::make_unique<AdvisorTools>(*this);

  main_->set_show_flash_utility([this] { ShowFlashUtility(); });
  about_identification_ = ctx_.controller.changed.Subscribe(
      [this] { about_->ShowIdentification(ctx_.controller); });
}

ConsoleApp::~ConsoleApp() = default;

const bool& ConsoleApp::stop() const { return main_->closed(); }

int ConsoleApp::Run() {
  ShowPlaced(main_.get());
  if (!file_to_open_.empty()) {
    QTimer::singleShot(0, main_.get(), [this] { OpenFile(file_to_open_); });
  }
  loop_.Run(main_->closed());
  return 0;
}

void ConsoleApp::OpenFile(const std::string& path) {
  FileActions actions;
  actions.load_setup = [this](const std::string& file) {
    commands_.LoadSetupFile(file);
  };
  actions.compare_setup = [this](const std::string& file) {
    workbench_->CompareWithEcu(file);
  };
  actions.view_log = [this](const std::string& file) {
    advisor_tools_->ViewLog(file);
  };
  OpenNamedFile(path, ctx_.prompts, actions);
}

ViewWindow* ConsoleApp::WindowOf(View view) const {
  const auto index = static_cast<size_t>(view);
  return index < windows_.size() ? windows_[index].get() : nullptr;
}

bool ConsoleApp::HasView(View view) const { return WindowOf(view) != nullptr; }

void ConsoleApp::ShowView(View view) {
  if (ViewWindow* window = WindowOf(view)) ShowPlaced(window);
}

void ConsoleApp::HideView(View view) {
  if (ViewWindow* window = WindowOf(view)) window->hide();
}

void ConsoleApp::ShowMain() { ShowPlaced(main_.get()); }

void ConsoleApp::HideMain() { main_->hide(); }

void ConsoleApp::ShowFlashUtility() {
  ctx_.link.RunWhenIdle([this] {
    // The utility talks to the loader itself, over its own port on the same
    // line; the next EnsureLink opens the main port again.
    ctx_.port.Close();
    if (!flash_window_) {
      if (flash_port_ == nullptr) {
        owned_flash_port_ = make_flash_port_();
        flash_port_ = owned_flash_port_.get();
      }
      flash_ = std::make_unique<FlashUtility>(
          FlashPlatform{*flash_port_, ctx_.clock, ctx_.prompts, ctx_.pump},
          ctx_.link_state,
          [this] { ctx_.console.live_window_mode = View::kNone; });
      flash_window_ =
          std::make_unique<FlashUtilityWindow>(*flash_, [this] { ShowMain(); });
    }
    HideMain();
    ShowPlaced(flash_window_.get());
  });
}

void ConsoleApp::ShowAbout() {
  commands_.ShowAbout([this] { ShowPlaced(about_.get()); });
}

}  // namespace ecu

#include "core/console/console_commands.h"

#include "core/link/controller_commands.h"
#include "core/link/link_startup.h"

namespace ecu {

void ConsoleCommands::OpenSetupFile() {
  if (files_ == nullptr) return;
  ctx_.link.RunWhenIdle([this] { files_->Open(); });
}

void ConsoleCommands::LoadSetupFile(const std::string& name) {
  if (files_ == nullptr) return;
  ctx_.link.RunWhenIdle([this, name] { files_->OpenNamed(name); });
}

void ConsoleCommands::SaveSetupFile() {
  if (files_ == nullptr) return;
  ctx_.link.RunWhenIdle([this] { files_->Save(); });
}

void ConsoleCommands::OpenView(View view) {
  ctx_.link.RunWhenIdle([this, view] { views_.OpenView(view); });
}

bool ConsoleCommands::ConfirmExit() {
  Message question;
  question.title = "ECU";
  question.text = "Are you sure you want to quit?";
  question.buttons = Buttons::kYesNo;
  question.icon = Icon::kExclamation;
  question.default_button = 1;
  return ctx_.prompts.Show(question) == Answer::kYes;
}

void ConsoleCommands::SelectPort(int n) {
  ecu::SelectPort(n, config_folder_, ctx_.link_state, ctx_.prompts);
}

bool ConsoleCommands::SelectPortDevice(const std::string& device) {
  return ecu::SelectPortDevice(device, config_folder_, ctx_.link_state,
                               ctx_.prompts);
}

void ConsoleCommands::Reset() {
  ctx_.link.RunWhenIdle([this] { ResetController(ctx_.link); });
}

void ConsoleCommands::PrepareToReflash() {
  ctx_.link.RunWhenIdle([this] { ecu::PrepareToReflash(ctx_.link); });
}

void ConsoleCommands::ShowAbout(std::function<void()> show) {
  ctx_.link.RunWhenIdle([this, show = std::move(show)] {
    ctx_.link.EnsureLink();
    show();
  });
}

void ConsoleCommands::ReadIdentification() {
  ctx_.link.RunWhenIdle(
      [this] { ecu::ReadIdentification(ctx_.link, ctx_.controller); });
}

}  // namespace ecu

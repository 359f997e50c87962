#include "core/console/file_commands.h"

#include "core/calibration/setup_file_reader.h"
#include "core/calibration/setup_file_writer.h"

namespace ecu {
namespace {

constexpr char kInitialName[] = "*.SET";

// An empty name or the untouched "*.SET" means the user cancelled.
bool Cancelled(const std::string& name) {
  return name.empty() || name == kInitialName;
}

}  // namespace

FileDialog FileCommands::SetupFileDialog(bool saving) {
  FileDialog dialog;
  dialog.filter = "Setup Files (*.set)|";
  dialog.default_extension = "set";
  dialog.initial_name = kInitialName;
  dialog.ask_before_overwrite = saving;
  return dialog;
}

SetupFileReport FileCommands::Open() {
  EcuLink& link = ctx_.link;
  link.EnsureLink();
  // The configuration first, so the scaling is current before anything.
  link.Pause(0.2);
  link.SendCommand("C", 21);
  link.Pause(0.1);
  const std::string name =
      ctx_.prompts.OpenFileName(SetupFileDialog(/*saving=*/false));
  if (Cancelled(name)) return {};
  busy_.BeginBusy();
  SetupFileReader reader(link, ctx_.image, [this](int done, int total) {
    busy_.ShowProgress(total > 0 ? static_cast<double>(done) / total : 0);
  });
  const SetupFileReport report = reader.load(name);
  busy_.EndBusy();
  return report;
}

SetupFileReport FileCommands::Save() {
  EcuLink& link = ctx_.link;
  link.EnsureLink();
  const std::string name =
      ctx_.prompts.SaveFileName(SetupFileDialog(/*saving=*/true));
  if (Cancelled(name)) return {};
  busy_.BeginBusy();
  SetupFileWriter writer(link, ctx_.image, [this](int done, int total) {
    busy_.ShowProgress(total > 0 ? static_cast<double>(done) / total : 0);
  });
  const SetupFileReport report = writer.save(name);
  busy_.EndBusy();
  return report;
}

}  // namespace ecu

#include "core/console/file_commands.h"

#include <tuple>

#include "core/calibration/calibration_requests.h"
#include "core/calibration/setup_file_reader.h"
#include "core/calibration/setup_file_writer.h"

namespace ecu {
namespace {

constexpr char kInitialName[] = "*.SET";

// An empty name or the untouched "*.SET" means the user cancelled.
bool Cancelled(const std::string& name) {
  return name.empty() || name == kInitialName;
}

SetupProgress ProgressTo(BusyView& busy) {
  return [&busy](int done, int total) {
    busy.ShowProgress(total > 0 ? static_cast<double>(done) / total : 0);
  };
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
  ctx_.link.EnsureLink();
  ReadConfiguration();
  const std::string name =
      ctx_.prompts.OpenFileName(SetupFileDialog(/*saving=*/false));
  if (Cancelled(name)) return {};
  return LoadFile(name);
}

SetupFileReport FileCommands::OpenNamed(const std::string& name) {
  ctx_.link.EnsureLink();
  ReadConfiguration();
  return LoadFile(name);
}

SetupFileReport FileCommands::Save() {
  ctx_.link.EnsureLink();
  const std::string name =
      ctx_.prompts.SaveFileName(SetupFileDialog(/*saving=*/true));
  if (Cancelled(name)) return {};
  return SaveFile(name);
}

void FileCommands::ReadConfiguration() {
  // The configuration first, so the scaling is current before anything.
  EcuLink& link = ctx_.link;
  link.Pause(0.2);
  std::ignore = ReadConfigurationBlock(link);
  link.Pause(0.1);
}

SetupFileReport FileCommands::LoadFile(const std::string& name) {
  busy_.BeginBusy();
  SetupFileReader reader(ctx_.link, ProgressTo(busy_),
                         [this] { return busy_.StopRequested(); });
  const SetupFileReport report = reader.load(name);
  busy_.EndBusy();
  return report;
}

SetupFileReport FileCommands::SaveFile(const std::string& name) {
  busy_.BeginBusy();
  SetupFileWriter writer(ctx_.link, ctx_.image, ProgressTo(busy_),
                         [this] { return busy_.StopRequested(); });
  const SetupFileReport report = writer.save(name);
  busy_.EndBusy();
  return report;
}

}  // namespace ecu

#include "core/advisor/data_log_dialog.h"

namespace ecu {

std::string AskForDataLogPath(Prompts& prompts) {
  FileDialog dialog;
  dialog.filter = "Data Logs (*.csv)|";
  dialog.default_extension = "csv";
  dialog.initial_name = "*.CSV";
  std::string path = prompts.OpenFileName(dialog);
  return path == dialog.initial_name ? std::string() : path;
}

}  // namespace ecu

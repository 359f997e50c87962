#ifndef ECU_CORE_PLATFORM_PROMPTS_H_
#define ECU_CORE_PLATFORM_PROMPTS_H_

#include <string>

namespace ecu {

enum class Buttons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class Answer { kOk, kCancel, kYes, kNo };
enum class Icon { kNone, kInformation, kExclamation, kQuestion, kCritical };

struct Message {
  std::string text;
  Buttons buttons = Buttons::kOk;
  std::string title;
  Icon icon = Icon::kNone;
  // 0 for the first button of the set, 1 for the second, 2 for the third.
  int default_button = 0;
};

struct FileDialog {
  std::string filter;             // e.g. "Setup Files (*.set)|"
  std::string default_extension;  // without the dot, e.g. "set"
  std::string initial_name;       // e.g. "*.SET"
  bool ask_before_overwrite = false;
};

// Message boxes and file dialogs. The console shows them modally; ecu-cli
// prints them and takes the default button; tests answer from a script.
class Prompts {
 public:
  virtual ~Prompts() = default;

  virtual Answer Show(const Message& box) = 0;
  // The chosen file name; the initial name unchanged or an empty text when
  // the user cancelled.
  virtual std::string OpenFileName(const FileDialog& dialog) = 0;
  virtual std::string SaveFileName(const FileDialog& dialog) = 0;

  // Shorthand for the many single-OK messages.
  void Tell(const std::string& text) {
    Message box;
    box.text = text;
    Show(box);
  }
};

// The answer a box gets when nobody is there to click: its default button.
Answer DefaultAnswer(const Message& box);

}  // namespace ecu

#endif  // ECU_CORE_PLATFORM_PROMPTS_H_

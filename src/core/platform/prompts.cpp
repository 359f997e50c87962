#include "core/platform/prompts.h"

namespace ecu {

Answer DefaultAnswer(const Message& box) {
  switch (box.buttons) {
    case Buttons::kOk:
      return Answer::kOk;
    case Buttons::kOkCancel:
      return box.default_button == 1 ? Answer::kCancel : Answer::kOk;
    case Buttons::kYesNo:
      return box.default_button == 1 ? Answer::kNo : Answer::kYes;
    case Buttons::kYesNoCancel:
      if (box.default_button == 1) return Answer::kNo;
      if (box.default_button == 2) return Answer::kCancel;
      return Answer::kYes;
  }
  return Answer::kOk;
}

}  // namespace ecu
